#pragma once
// The rooms and room classes the front-desk server sends, kept in server
// order, merged list by list, and fed to the customer screen one room line
// per room. Everything here runs on the user interface thread.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "kiosk/records/list_page_records.h"
#include "kiosk/records/room_records.h"
#include "kiosk/screen/room_pictures.h"
#include "kiosk/support/daily_log.h"

namespace hx {

// Merge marks kept in the records' first field.
enum enumMergeMark : int32_t {
    MERGE_UNMATCHED = 0,
    MERGE_UNCHANGED = 1,
    MERGE_CHANGED = 2,
    MERGE_NEW = 3,
};

class CRoomCatalogue {
public:
    // The movie call (command, argument text); the kiosk window passes the
    // bridge's ReceiveScript.
    using MovieSink = std::function<void(std::string_view command, std::string_view args)>;
    using LogSink = std::function<void(std::string_view utf8Line)>;

    // Pictures are checked against "RoomImages.ini" in the program folder
    // and kept in the skin's picture folder unless other places are given.
    CRoomCatalogue(MovieSink movie, CRoomPictures::PictureRequester requestPicture,
                   LogSink log = HXKioskLog);
    CRoomCatalogue(MovieSink movie, CRoomPictures::PictureRequester requestPicture, LogSink log,
                   CRoomPictures::stPlaces pictures);

    // Screen state kept by the kiosk window.
    void SetMovieReady(bool ready);
    bool IsMovieReady() const;
    // Off: rooms whose state is not vacant stay off the screen.
    void SetShowAllRooms(bool showAll);
    bool ShowsAllRooms() const;
    // While a price is chosen a merged room list is held back from the screen.
    void SetSaleUnderway(bool underway);
    bool IsRefreshHeldBack() const;

    // One page of a list message. Page 1 empties the incoming list; the page
    // whose number equals the page count runs the merge. True when it did.
    bool AppendRoomPage(const stRoomPage& page);
    bool AppendClassPage(const stClassPage& page);
    void MergeRooms();
    void MergeClasses();

    // Inserts, replaces or (operation kRoomRemove) removes one room, then
    // updates the screen for it.
    void ApplySingleRoom(const stRoom4Kiosk& room);

    // SetRoomData for every shown room, then EndSetRoomData. Nothing before
    // the movie is ready or while there are no rooms.
    void SendRoomList();
    // InitRoomData, then the list.
    void ResendRoomList();
    // The movie showed its home screen: a held-back list goes out now.
    void OnHomeScreen();

    // 10000, 5000 or 1000 won: the largest that divides every price of every
    // room as of the last recomputation; 1000 before the first.
    int BillUnit() const;

    // The first current match's name, or an empty text.
    std::string ClassName(int32_t classId) const;
    std::string RoomName(int32_t roomNo) const;
    const stRoom4Kiosk* FindRoom(int32_t roomNo) const;
    const std::vector<stRoom4Kiosk>& Rooms() const;
    const std::vector<stClass4Class>& Classes() const;

    // Picture synchronisation: reads "RoomImages.ini" and requests what is
    // missing or changed (after the server delivered a new list).
    void SynchronisePictures();
    // Where the answer to the picture asked for with this index belongs;
    // empty when none is awaited.
    std::optional<std::filesystem::path> PictureTarget(int index) const;
    // The picture asked for with this index was completed: when the list
    // waited for it, the next one is requested, or after the last the
    // loading popup is cleared and the room list resent.
    void OnPictureReceived(int index);
    const CRoomPictures& Pictures() const;

private:
    void RecomputeBillUnit();
    void SendRoomLine(std::string_view command, const stRoom4Kiosk& room);
    bool IsShown(const stRoom4Kiosk& room) const;

    MovieSink m_movie;
    LogSink m_log;
    CRoomPictures m_pictures;
    std::vector<stRoom4Kiosk> m_rooms;
    std::vector<stClass4Class> m_classes;
    std::vector<stRoom4Kiosk> m_incomingRooms;
    std::vector<stClass4Class> m_incomingClasses;
    int m_billUnit = 1000;
    bool m_movieReady = false;
    bool m_showAllRooms = true;
    bool m_saleUnderway = false;
    bool m_refreshHeldBack = false;
};

}  // namespace hx
