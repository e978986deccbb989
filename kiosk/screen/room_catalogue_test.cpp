#include "kiosk/screen/room_catalogue.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "kiosk/screen/room_line.h"
#include "tests/support/temp_folder.h"

namespace hx {

namespace {

stRoom4Kiosk Room(int32_t roomNo, int32_t classId, std::string name, int32_t firstPrice = 20000,
                  int32_t secondPrice = 40000) {
    stRoom4Kiosk room;
    room.roomNo = roomNo;
    room.classId = classId;
    room.name = std::move(name);
    room.firstPrice = firstPrice;
    room.secondPrice = secondPrice;
    room.displayMode = 1;
    room.rentalDuration = "0300";
    return room;
}

stClass4Class Class(int32_t classId, std::string name, int32_t value = 1) {
    stClass4Class roomClass;
    roomClass.classId = classId;
    roomClass.classValue = value;
    roomClass.name = std::move(name);
    return roomClass;
}

stRoomPage Page(int32_t pageNo, int32_t pageCount, std::vector<stRoom4Kiosk> rooms) {
    return {pageCount, pageNo, std::move(rooms)};
}

class RoomCatalogue : public ::testing::Test {
protected:
    RoomCatalogue()
        : catalogue(
              [this](std::string_view command, std::string_view args) {
                  calls.push_back(std::string(command) + ";" + std::string(args));
              },
              [this](int index, const std::string& name) {
                  calls.push_back("request " + std::to_string(index) + " " + name);
                  return true;
              },
              [this](std::string_view line) { logLines.emplace_back(line); },
              {m_folder.Path() / "RoomImages.ini", m_folder.Path() / "RoomImage"}) {
        catalogue.AppendClassPage({1, 1, {Class(1, "스탠다드"), Class(2, "디럭스")}});
        catalogue.SetMovieReady(true);
        catalogue.SetShowAllRooms(true);
    }

    // Sends a one-page list and forgets what it put on the screen.
    void LoadRooms(std::vector<stRoom4Kiosk> rooms) {
        catalogue.AppendRoomPage(Page(1, 1, std::move(rooms)));
        calls.clear();
        logLines.clear();
    }

    std::vector<int32_t> RoomNumbers() const {
        std::vector<int32_t> numbers;
        for (const stRoom4Kiosk& room : catalogue.Rooms()) {
            numbers.push_back(room.roomNo);
        }
        return numbers;
    }

    std::vector<int32_t> Marks() const {
        std::vector<int32_t> marks;
        for (const stRoom4Kiosk& room : catalogue.Rooms()) {
            marks.push_back(room.operation);
        }
        return marks;
    }

    std::string Line(const char* command, const stRoom4Kiosk& room) const {
        return std::string(command) + ";" + BuildRoomLine(room, catalogue.ClassName(room.classId));
    }

    CTempFolder m_folder{"hx_room_catalogue"};
    std::vector<std::string> calls;
    std::vector<std::string> logLines;
    CRoomCatalogue catalogue;
};

// --- paging -----------------------------------------------------------------

TEST_F(RoomCatalogue, PagesCollectUntilTheLastAndPageOneStartsOver) {
    EXPECT_FALSE(catalogue.AppendRoomPage(Page(1, 2, {Room(101, 1, "101호")})));
    // A list abandoned halfway is dropped by the next page 1.
    EXPECT_FALSE(catalogue.AppendRoomPage(Page(1, 2, {Room(201, 1, "201호")})));
    EXPECT_TRUE(catalogue.Rooms().empty());
    EXPECT_TRUE(calls.empty());

    EXPECT_TRUE(catalogue.AppendRoomPage(Page(2, 2, {Room(202, 2, "202호")})));
    EXPECT_EQ(RoomNumbers(), (std::vector<int32_t>{201, 202}));
}

TEST_F(RoomCatalogue, ARoomNumberBelowOneOrAFullPageEndsThePage) {
    catalogue.AppendRoomPage(
        Page(1, 1, {Room(101, 1, "a"), Room(0, 1, "end"), Room(102, 1, "after the end")}));
    EXPECT_EQ(RoomNumbers(), (std::vector<int32_t>{101}));

    std::vector<stRoom4Kiosk> full;
    for (int32_t roomNo = 1; roomNo <= 51; ++roomNo) {
        full.push_back(Room(roomNo, 1, "r"));
    }
    catalogue.AppendRoomPage(Page(1, 1, full));
    EXPECT_EQ(catalogue.Rooms().size(), 50u);
    EXPECT_EQ(catalogue.Rooms().back().roomNo, 50);
}

TEST_F(RoomCatalogue, ClassPagesHoldTwentyAndMergeWithoutTouchingTheScreen) {
    std::vector<stClass4Class> classes;
    for (int32_t classId = 1; classId <= 21; ++classId) {
        classes.push_back(Class(classId, "등급" + std::to_string(classId)));
    }
    calls.clear();
    EXPECT_TRUE(catalogue.AppendClassPage({1, 1, classes}));
    EXPECT_EQ(catalogue.Classes().size(), 20u);
    EXPECT_EQ(catalogue.Classes().back().name, "등급20");

    classes[5].classId = -1;  // ends the page
    EXPECT_TRUE(catalogue.AppendClassPage({1, 1, classes}));
    EXPECT_EQ(catalogue.Classes().size(), 5u);
    EXPECT_TRUE(calls.empty());
}

// --- merge and the room list on the screen ------------------------------------

TEST_F(RoomCatalogue, AMergedListReachesTheScreenRoomByRoom) {
    stRoom4Kiosk suite = Room(305, 2, "305호 스위트", 30000, 55000);
    suite.rentalDuration = "0330";
    catalogue.AppendRoomPage(Page(1, 1, {Room(101, 1, "101호"), suite}));

    std::string suiteLine = "SetRoomData;디럭스||305||305호 스위트||30000||55000||3시간 30분||0||";
    for (const char* suffix :
         {"0",   "1",   "2",   "3",   "4",   "5",   "6",   "7",   "8",   "9",  "0_1",
          "1_1", "2_1", "3_1", "4_1", "5_1", "6_1", "7_1", "8_1", "9_1", "0_2"}) {
        suiteLine += std::string("c:\\Harlix\\Skin\\RoomImage\\305_") + suffix + ".png||";
    }
    suiteLine += "1||";
    EXPECT_EQ(calls,
              (std::vector<std::string>{"InitRoomData;", Line("SetRoomData", Room(101, 1, "101호")),
                                        suiteLine, "EndSetRoomData;"}));
    EXPECT_EQ(logLines, (std::vector<std::string>{"2건 룸정보 전송 완료."}));
}

TEST_F(RoomCatalogue, MergeKeepsUnchangedReplacesChangedDropsMissingAndAppendsNew) {
    LoadRooms({Room(101, 1, "101호"), Room(102, 1, "102호"), Room(103, 1, "103호")});
    EXPECT_EQ(Marks(), (std::vector<int32_t>{MERGE_NEW, MERGE_NEW, MERGE_NEW}));

    stRoom4Kiosk renamed = Room(103, 1, "103호 리뉴얼");
    stRoom4Kiosk added = Room(104, 2, "104호");
    added.operation = MERGE_CHANGED;  // whatever the wire left in the mark's place
    catalogue.AppendRoomPage(Page(1, 1, {added, renamed, Room(101, 1, "101호")}));

    // Current order is kept; the new room goes to the end.
    EXPECT_EQ(RoomNumbers(), (std::vector<int32_t>{101, 103, 104}));
    EXPECT_EQ(Marks(), (std::vector<int32_t>{MERGE_UNCHANGED, MERGE_CHANGED, MERGE_NEW}));
    EXPECT_EQ(catalogue.RoomName(103), "103호 리뉴얼");
    EXPECT_EQ(catalogue.RoomName(102), "");
    EXPECT_EQ(catalogue.ClassName(2), "디럭스");
    EXPECT_EQ(catalogue.ClassName(9), "");
}

TEST_F(RoomCatalogue, EveryComparedFieldCountsAsAChange) {
    const stRoom4Kiosk base = Room(101, 1, "101호");
    const auto markAfter = [&](auto change) {
        LoadRooms({base});
        stRoom4Kiosk changed = base;
        change(changed);
        catalogue.AppendRoomPage(Page(1, 1, {changed}));
        return catalogue.Rooms().front().operation;
    };
    EXPECT_EQ(markAfter([](stRoom4Kiosk& r) { r.classId = 2; }), MERGE_CHANGED);
    EXPECT_EQ(markAfter([](stRoom4Kiosk& r) { r.state = 1; }), MERGE_CHANGED);
    EXPECT_EQ(markAfter([](stRoom4Kiosk& r) { r.firstPrice += 1000; }), MERGE_CHANGED);
    EXPECT_EQ(markAfter([](stRoom4Kiosk& r) { r.secondPrice += 1000; }), MERGE_CHANGED);
    EXPECT_EQ(markAfter([](stRoom4Kiosk& r) { r.serverStamp = 99; }), MERGE_CHANGED);
    EXPECT_EQ(markAfter([](stRoom4Kiosk& r) { r.displayMode = 2; }), MERGE_CHANGED);
    // Fields outside the comparison leave the room as it was.
    EXPECT_EQ(markAfter([](stRoom4Kiosk& r) { r.lockNo = 77; }), MERGE_UNCHANGED);
    EXPECT_EQ(catalogue.Rooms().front().lockNo, 0);

    const auto classMarkAfter = [&](stClass4Class changed) {
        catalogue.AppendClassPage({1, 1, {Class(1, "스탠다드")}});
        catalogue.AppendClassPage({1, 1, {changed}});
        return catalogue.Classes().front().mergeMark;
    };
    EXPECT_EQ(classMarkAfter(Class(1, "스탠다드")), MERGE_UNCHANGED);
    EXPECT_EQ(classMarkAfter(Class(1, "스탠다드", 2)), MERGE_CHANGED);
    EXPECT_EQ(classMarkAfter(Class(1, "이코노미")), MERGE_CHANGED);
}

TEST_F(RoomCatalogue, HiddenAndUnavailableRoomsStayOffTheScreen) {
    stRoom4Kiosk hidden = Room(102, 1, "102호");
    hidden.displayMode = kRoomHidden;
    stRoom4Kiosk occupied = Room(103, 1, "103호");
    occupied.state = 2;
    LoadRooms({Room(101, 1, "101호"), hidden, occupied});

    catalogue.SendRoomList();
    EXPECT_EQ(calls, (std::vector<std::string>{Line("SetRoomData", Room(101, 1, "101호")),
                                               Line("SetRoomData", occupied), "EndSetRoomData;"}));
    EXPECT_EQ(logLines.back(), "2건 룸정보 전송 완료.");

    calls.clear();
    catalogue.SetShowAllRooms(false);
    catalogue.SendRoomList();
    EXPECT_EQ(calls, (std::vector<std::string>{Line("SetRoomData", Room(101, 1, "101호")),
                                               "EndSetRoomData;"}));
    EXPECT_EQ(logLines.back(), "1건 룸정보 전송 완료.");
}

TEST_F(RoomCatalogue, NothingReachesAMovieThatIsNotReadyOrAnEmptyList) {
    catalogue.SetMovieReady(false);
    catalogue.AppendRoomPage(Page(1, 1, {Room(101, 1, "101호")}));
    catalogue.ApplySingleRoom(Room(102, 1, "102호"));
    EXPECT_EQ(calls, (std::vector<std::string>{"InitRoomData;"}));  // the bridge drops it
    EXPECT_EQ(RoomNumbers(), (std::vector<int32_t>{101, 102}));

    calls.clear();
    catalogue.SetMovieReady(true);
    catalogue.SendRoomList();
    EXPECT_EQ(calls.size(), 3u);

    calls.clear();
    catalogue.AppendRoomPage(Page(1, 1, {}));
    EXPECT_TRUE(catalogue.Rooms().empty());
    EXPECT_EQ(calls, (std::vector<std::string>{"InitRoomData;"}));
}

// --- held-back refresh ----------------------------------------------------------

TEST_F(RoomCatalogue, AListArrivingDuringASaleWaitsForTheHomeScreen) {
    LoadRooms({Room(101, 1, "101호")});
    catalogue.SetSaleUnderway(true);
    catalogue.AppendRoomPage(Page(1, 1, {Room(101, 1, "101호"), Room(102, 1, "102호")}));
    EXPECT_TRUE(calls.empty());
    EXPECT_TRUE(catalogue.IsRefreshHeldBack());
    EXPECT_EQ(RoomNumbers(), (std::vector<int32_t>{101, 102}));  // kept, only not shown

    catalogue.SetSaleUnderway(false);
    catalogue.OnHomeScreen();
    EXPECT_FALSE(catalogue.IsRefreshHeldBack());
    EXPECT_EQ(calls.front(), "InitRoomData;");
    EXPECT_EQ(calls.back(), "EndSetRoomData;");
    EXPECT_EQ(calls.size(), 4u);

    calls.clear();
    catalogue.OnHomeScreen();
    EXPECT_TRUE(calls.empty());
}

// --- single rooms -----------------------------------------------------------------

TEST_F(RoomCatalogue, SingleRoomUpdatesShowEveryRoomWhileAllAreShown) {
    LoadRooms({Room(101, 1, "101호")});
    stRoom4Kiosk occupied = Room(101, 1, "101호");
    occupied.state = 2;
    catalogue.ApplySingleRoom(occupied);
    catalogue.ApplySingleRoom(Room(102, 2, "102호"));
    EXPECT_EQ(calls, (std::vector<std::string>{Line("UpdateRoomData", occupied),
                                               Line("UpdateRoomData", Room(102, 2, "102호"))}));
    EXPECT_EQ(Marks(), (std::vector<int32_t>{MERGE_CHANGED, MERGE_NEW}));
    EXPECT_EQ(catalogue.FindRoom(101)->state, 2);
}

TEST_F(RoomCatalogue, WithTheFilterOnARoomLeavesAndReturnsToTheScreen) {
    LoadRooms({Room(101, 1, "101호"), Room(305, 2, "305호")});
    catalogue.SetShowAllRooms(false);

    stRoom4Kiosk occupied = Room(305, 2, "305호");
    occupied.state = 1;
    catalogue.ApplySingleRoom(occupied);
    EXPECT_EQ(calls, (std::vector<std::string>{"DeleteRoomData;디럭스||305"}));

    calls.clear();
    catalogue.ApplySingleRoom(Room(305, 2, "305호"));
    EXPECT_EQ(calls, (std::vector<std::string>{
                         "InitRoomData;", Line("SetRoomData", Room(101, 1, "101호")),
                         Line("SetRoomData", Room(305, 2, "305호")), "EndSetRoomData;"}));
}

TEST_F(RoomCatalogue, ARemovedRoomLeavesTheListAndTheScreen) {
    LoadRooms({Room(101, 1, "101호"), Room(305, 2, "305호")});
    stRoom4Kiosk removal;  // the server may send little more than the number
    removal.operation = kRoomRemove;
    removal.roomNo = 305;
    catalogue.ApplySingleRoom(removal);
    EXPECT_EQ(RoomNumbers(), (std::vector<int32_t>{101}));
    EXPECT_EQ(calls, (std::vector<std::string>{"DeleteRoomData;디럭스||305"}));

    // Not in the list: nothing to remove, the screen is still told.
    calls.clear();
    removal.roomNo = 999;
    removal.classId = 1;
    catalogue.ApplySingleRoom(removal);
    EXPECT_EQ(RoomNumbers(), (std::vector<int32_t>{101}));
    EXPECT_EQ(calls, (std::vector<std::string>{"DeleteRoomData;스탠다드||999"}));
}

TEST_F(RoomCatalogue, HiddenRoomsAreNeverUpdatedOnTheScreen) {
    LoadRooms({Room(101, 1, "101호")});
    stRoom4Kiosk hidden = Room(102, 1, "102호");
    hidden.displayMode = kRoomHidden;
    catalogue.ApplySingleRoom(hidden);
    catalogue.SetShowAllRooms(false);
    hidden.state = 1;
    catalogue.ApplySingleRoom(hidden);
    hidden.operation = kRoomRemove;
    catalogue.ApplySingleRoom(hidden);
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ(RoomNumbers(), (std::vector<int32_t>{101}));
}

// --- bill unit ----------------------------------------------------------------------

TEST_F(RoomCatalogue, BillUnitIsTheLargestNoteDividingEveryPrice) {
    EXPECT_EQ(catalogue.BillUnit(), 1000);  // before the first list

    LoadRooms({Room(101, 1, "a", 20000, 30000), Room(102, 1, "b", 40000, 50000)});
    EXPECT_EQ(catalogue.BillUnit(), 10000);

    LoadRooms({Room(101, 1, "a", 15000, 20000)});
    EXPECT_EQ(catalogue.BillUnit(), 5000);

    LoadRooms({Room(101, 1, "a", 20000, 12000), Room(102, 1, "b", 15000, 30000)});
    EXPECT_EQ(catalogue.BillUnit(), 1000);

    // Hidden rooms count too, and a single update recomputes it.
    LoadRooms({Room(101, 1, "a", 20000, 30000)});
    stRoom4Kiosk hidden = Room(102, 1, "b", 25000, 30000);
    hidden.displayMode = kRoomHidden;
    catalogue.ApplySingleRoom(hidden);
    EXPECT_EQ(catalogue.BillUnit(), 5000);
    hidden.operation = kRoomRemove;
    catalogue.ApplySingleRoom(hidden);
    EXPECT_EQ(catalogue.BillUnit(), 10000);
}

// --- pictures -------------------------------------------------------------------------

TEST_F(RoomCatalogue, TheRoomListIsResentAfterTheLastPicture) {
    LoadRooms({Room(101, 1, "101호")});
    std::filesystem::create_directories(m_folder.Path() / "RoomImage");
    std::ofstream(m_folder.Path() / "RoomImages.ini")
        << "[Count]\nCount=1\n[Name]\n0=101_0.png\n[CRC]\n0=739719564\n";

    catalogue.SynchronisePictures();
    EXPECT_EQ(calls, (std::vector<std::string>{"PopupLoading;", "request 0 101_0.png"}));
    EXPECT_EQ(catalogue.PictureTarget(0), m_folder.Path() / "RoomImage" / "101_0.png");

    calls.clear();
    catalogue.OnPictureReceived(0);
    EXPECT_EQ(calls, (std::vector<std::string>{"ClearLoading;", "InitRoomData;",
                                               Line("SetRoomData", Room(101, 1, "101호")),
                                               "EndSetRoomData;"}));
}

}  // namespace

}  // namespace hx
