#include "kiosk/screen/room_catalogue.h"

#include <algorithm>
#include <utility>

#include "kiosk/screen/room_line.h"

namespace hx {

namespace {

int32_t& MarkOf(stRoom4Kiosk& room) {
    return room.operation;
}

int32_t& MarkOf(stClass4Class& roomClass) {
    return roomClass.mergeMark;
}

int32_t KeyOf(const stRoom4Kiosk& room) {
    return room.roomNo;
}

int32_t KeyOf(const stClass4Class& roomClass) {
    return roomClass.classId;
}

enumMergeMark Compare(const stRoom4Kiosk& current, const stRoom4Kiosk& incoming) {
    const bool same = current.classId == incoming.classId && current.state == incoming.state &&
                      current.firstPrice == incoming.firstPrice &&
                      current.secondPrice == incoming.secondPrice &&
                      current.serverStamp == incoming.serverStamp &&
                      current.name == incoming.name && current.displayMode == incoming.displayMode;
    return same ? MERGE_UNCHANGED : MERGE_CHANGED;
}

enumMergeMark Compare(const stClass4Class& current, const stClass4Class& incoming) {
    const bool same = current.classValue == incoming.classValue && current.name == incoming.name;
    return same ? MERGE_UNCHANGED : MERGE_CHANGED;
}

// Page 1 starts a new incoming list; a key below 1 or a full page ends the
// page. True when this page completes the list.
template <typename Record>
bool AppendPage(std::vector<Record>& incoming, int32_t pageNo, int32_t pageCount,
                const std::vector<Record>& records, size_t perPage) {
    if (pageNo == 1) {
        incoming.clear();
    }
    for (size_t at = 0; at < records.size() && at < perPage; ++at) {
        if (KeyOf(records[at]) < 1) {
            break;
        }
        incoming.push_back(records[at]);
    }
    return pageNo == pageCount;
}

// Current records keep their place (replaced when changed), records the
// server no longer lists go, and new ones are appended in server order.
template <typename Record>
void MergeInto(std::vector<Record>& current, std::vector<Record>& incoming) {
    // Incoming marks start clear as well: the field arrives from the wire and
    // a value left in it would keep a new record out of the list.
    for (std::vector<Record>* list : {&current, &incoming}) {
        for (Record& record : *list) {
            MarkOf(record) = MERGE_UNMATCHED;
        }
    }
    for (size_t at = current.size(); at-- > 0;) {
        Record& record = current[at];
        const auto match = std::find_if(incoming.begin(), incoming.end(), [&](const Record& other) {
            return KeyOf(other) == KeyOf(record);
        });
        if (match == incoming.end()) {
            continue;
        }
        const enumMergeMark result = Compare(record, *match);
        MarkOf(record) = result;
        MarkOf(*match) = result;
        if (result == MERGE_CHANGED) {
            record = *match;
        }
    }
    std::erase_if(current, [](Record& record) { return MarkOf(record) == MERGE_UNMATCHED; });
    for (Record& record : incoming) {
        if (MarkOf(record) == MERGE_UNMATCHED) {
            MarkOf(record) = MERGE_NEW;
            current.push_back(record);
        }
    }
}

bool HasRemainder(int32_t price, int32_t unit) {
    return price % unit != 0;
}

}  // namespace

CRoomCatalogue::CRoomCatalogue(MovieSink movie, CRoomPictures::PictureRequester requestPicture,
                               LogSink log)
    : CRoomCatalogue(std::move(movie), std::move(requestPicture), std::move(log),
                     CRoomPictures::DefaultPlaces()) {}

CRoomCatalogue::CRoomCatalogue(MovieSink movie, CRoomPictures::PictureRequester requestPicture,
                               LogSink log, CRoomPictures::stPlaces pictures)
    : m_movie(std::move(movie)),
      m_log(std::move(log)),
      m_pictures(m_movie, std::move(requestPicture), m_log, std::move(pictures)) {}

void CRoomCatalogue::SetMovieReady(bool ready) {
    m_movieReady = ready;
}

bool CRoomCatalogue::IsMovieReady() const {
    return m_movieReady;
}

void CRoomCatalogue::SetShowAllRooms(bool showAll) {
    m_showAllRooms = showAll;
}

bool CRoomCatalogue::ShowsAllRooms() const {
    return m_showAllRooms;
}

void CRoomCatalogue::SetSaleUnderway(bool underway) {
    m_saleUnderway = underway;
}

bool CRoomCatalogue::IsRefreshHeldBack() const {
    return m_refreshHeldBack;
}

bool CRoomCatalogue::AppendRoomPage(const stRoomPage& page) {
    if (!AppendPage(m_incomingRooms, page.pageNo, page.pageCount, page.rooms, kRoomsPerPage)) {
        return false;
    }
    MergeRooms();
    return true;
}

bool CRoomCatalogue::AppendClassPage(const stClassPage& page) {
    if (!AppendPage(m_incomingClasses, page.pageNo, page.pageCount, page.classes,
                    kClassesPerPage)) {
        return false;
    }
    MergeClasses();
    return true;
}

void CRoomCatalogue::MergeRooms() {
    MergeInto(m_rooms, m_incomingRooms);
    if (m_saleUnderway) {
        // Changing the rooms under a guest who is paying would pull the
        // chosen room away; the screen catches up at its home screen.
        m_refreshHeldBack = true;
        return;
    }
    ResendRoomList();
}

void CRoomCatalogue::MergeClasses() {
    MergeInto(m_classes, m_incomingClasses);
}

void CRoomCatalogue::ApplySingleRoom(const stRoom4Kiosk& room) {
    const auto found = std::find_if(m_rooms.begin(), m_rooms.end(), [&](const stRoom4Kiosk& other) {
        return other.roomNo == room.roomNo;
    });
    const bool removal = room.operation == kRoomRemove;
    // A removal need not repeat the room's details; the screen is told about
    // the room as it was shown.
    const stRoom4Kiosk shown = (removal && found != m_rooms.end()) ? *found : room;
    if (removal) {
        if (found != m_rooms.end()) {
            m_rooms.erase(found);
        }
    } else if (found != m_rooms.end()) {
        const enumMergeMark result = Compare(*found, room);
        *found = room;
        found->operation = result;
    } else {
        m_rooms.push_back(room);
        m_rooms.back().operation = MERGE_NEW;
    }
    RecomputeBillUnit();
    if (!m_movieReady || shown.displayMode == kRoomHidden) {
        return;
    }
    if (removal || (!m_showAllRooms && shown.state != kRoomVacant)) {
        m_movie("DeleteRoomData", ClassName(shown.classId) + "||" + std::to_string(shown.roomNo));
    } else if (!m_showAllRooms) {
        ResendRoomList();
    } else {
        SendRoomLine("UpdateRoomData", shown);
    }
}

void CRoomCatalogue::SendRoomList() {
    if (!m_movieReady || m_rooms.empty()) {
        return;
    }
    RecomputeBillUnit();
    int sent = 0;
    for (const stRoom4Kiosk& room : m_rooms) {
        if (IsShown(room)) {
            SendRoomLine("SetRoomData", room);
            ++sent;
        }
    }
    m_movie("EndSetRoomData", "");
    m_log(std::to_string(sent) + "건 룸정보 전송 완료.");
}

void CRoomCatalogue::ResendRoomList() {
    m_movie("InitRoomData", "");
    SendRoomList();
}

void CRoomCatalogue::OnHomeScreen() {
    if (!m_refreshHeldBack) {
        return;
    }
    m_refreshHeldBack = false;
    ResendRoomList();
}

int CRoomCatalogue::BillUnit() const {
    return m_billUnit;
}

std::string CRoomCatalogue::ClassName(int32_t classId) const {
    const auto found = std::find_if(m_classes.begin(), m_classes.end(),
                                    [&](const stClass4Class& c) { return c.classId == classId; });
    return found == m_classes.end() ? std::string() : found->name;
}

std::string CRoomCatalogue::RoomName(int32_t roomNo) const {
    const stRoom4Kiosk* room = FindRoom(roomNo);
    return room == nullptr ? std::string() : room->name;
}

const stRoom4Kiosk* CRoomCatalogue::FindRoom(int32_t roomNo) const {
    const auto found = std::find_if(m_rooms.begin(), m_rooms.end(), [&](const stRoom4Kiosk& room) {
        return room.roomNo == roomNo;
    });
    return found == m_rooms.end() ? nullptr : &*found;
}

const std::vector<stRoom4Kiosk>& CRoomCatalogue::Rooms() const {
    return m_rooms;
}

const std::vector<stClass4Class>& CRoomCatalogue::Classes() const {
    return m_classes;
}

void CRoomCatalogue::SynchronisePictures() {
    m_pictures.Synchronise();
}

std::optional<std::filesystem::path> CRoomCatalogue::PictureTarget(int index) const {
    return m_pictures.TargetOf(index);
}

void CRoomCatalogue::OnPictureReceived(int index) {
    if (m_pictures.OnPictureReceived(index)) {
        ResendRoomList();
    }
}

const CRoomPictures& CRoomCatalogue::Pictures() const {
    return m_pictures;
}

void CRoomCatalogue::RecomputeBillUnit() {
    int unit = 10000;
    for (const stRoom4Kiosk& room : m_rooms) {
        for (const int32_t price : {room.firstPrice, room.secondPrice}) {
            if (HasRemainder(price, 10000)) {
                unit = std::min(unit, 5000);
            }
            if (HasRemainder(price, 5000)) {
                unit = 1000;
            }
        }
    }
    m_billUnit = unit;
}

void CRoomCatalogue::SendRoomLine(std::string_view command, const stRoom4Kiosk& room) {
    m_movie(command, BuildRoomLine(room, ClassName(room.classId)));
}

bool CRoomCatalogue::IsShown(const stRoom4Kiosk& room) const {
    return room.displayMode != kRoomHidden && (m_showAllRooms || room.state == kRoomVacant);
}

}  // namespace hx
