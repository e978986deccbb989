#include "kiosk/app/server_message_router.h"

#include <gtest/gtest.h>

#include <fstream>

#include "channel/testing_channel.h"
#include "kiosk/records/file_chunk_records.h"
#include "kiosk/records/update_records.h"
#include "kiosk/server/channel_dlg.h"
#include "kiosk/server/server_requests.h"
#include "net/crc32.h"
#include "tests/support/file_text.h"

namespace hx {

namespace {

stRoom4Kiosk Room(int32_t roomNo, int32_t state) {
    stRoom4Kiosk room;
    room.roomNo = roomNo;
    room.classId = 1;
    room.state = state;
    room.displayMode = 1;
    room.firstPrice = 30000;
    room.rentalDuration = "0300";
    return room;
}

// The server's next packet of that command, past client open and close notices.
std::optional<Bytes> NextOf(CTestingServer& server, uint32_t command) {
    std::optional<Bytes> packet;
    do {
        packet = server.Receive();
    } while (packet && Field32(*packet, HDR_COMMAND) != command);
    return packet;
}

// The kiosk window's parts wired as the kiosk wires them, on a channel window
// connected to a server on loopback; the movie's calls are written down.
class ServerMessageRouter : public CChannelTest {
protected:
    ServerMessageRouter()
        : m_dlg(m_server.Port(), [](std::string_view) {}),
          m_catalogue(
              Movie(),
              [this](int index, const std::string& name) {
                  return SendPictureRequest(&m_dlg, index, name) == 1;
              },
              [](std::string_view) {}),
          m_settings(m_catalogue, {Movie(), [this] { return SendRoomListRequest(&m_dlg) == 1; },
                                   GetLocalTimeNow, nullptr, nullptr}),
          m_router(m_catalogue, m_settings, Movie(),
                   {[this](const stSaleAnswer& answer) { m_sales.push_back(answer); },
                    [this] { ++m_connects; }, nullptr}) {
        m_dlg.SetMachine(&m_machine);
        m_machine.adapters = {TableAdapter("Realtek PCI Ethernet Adapter", kRealtekMac)};
        m_dlg.SetServerEvents(&m_router);
        // A connect goes to the resend queue's follow-up, and nowhere else.
        auto peer = std::async(std::launch::async, [&] { return m_server.Handshake(7, 0x1001); });
        EXPECT_TRUE(m_dlg.Create());
        EXPECT_TRUE(peer.get());
        EXPECT_TRUE(FinishAttempt(m_dlg));
        EXPECT_EQ(m_connects, 1);
        EXPECT_TRUE(m_movie.empty());
        m_catalogue.SetMovieReady(true);
    }

    CRoomCatalogue::MovieSink Movie() {
        return [this](std::string_view command, std::string_view args) {
            m_movie.push_back(std::string(command) + (args.empty() ? "" : ";" + std::string(args)));
        };
    }
    std::vector<std::string> TakeMovie() { return std::exchange(m_movie, {}); }
    // The movie's calls once `last` came, commands only.
    std::vector<std::string> MovieUntil(const std::string& last) {
        EXPECT_TRUE(PumpUntil([&] { return !m_movie.empty() && m_movie.back() == last; }));
        std::vector<std::string> commands;
        for (const std::string& call : TakeMovie()) {
            commands.push_back(call.substr(0, call.find(';')));
        }
        return commands;
    }
    void Send(const Bytes& packet) { EXPECT_TRUE(m_server.Send(packet)); }
    void SendFile(uint32_t command, const std::string& file) {
        for (const stFileChunk& chunk :
             SplitIntoChunks(command, 0, Bytes(file.begin(), file.end()))) {
            Send(Pack(chunk));
        }
    }

    CTableMachine m_machine;
    std::vector<std::string> m_movie;
    std::vector<stSaleAnswer> m_sales;
    int m_connects = 0;
    CChannelDlg m_dlg;
    CRoomCatalogue m_catalogue;
    CKioskSettingsState m_settings;
    CServerMessageRouter m_router;
};

TEST_F(ServerMessageRouter, ListsConfigurationOptionsAndSingleRoomsReachTheScreen) {
    stKioskOptions options;
    options.paymentTypes = 2;
    Send(Pack(stClassPage{1, 1, {{0, 1, 1, "스탠다드"}}}));
    Send(Pack(stRoomPage{2, 1, {Room(101, 0)}}));
    Send(Pack(stRoomPage{2, 2, {Room(102, 1)}}));
    Send(Pack(stKioskConfig{}));  // rooms that cannot be sold are hidden
    Send(Pack(options));
    EXPECT_EQ(MovieUntil("EnableSound;0"),
              (std::vector<std::string>{
                  "InitRoomData", "SetRoomData", "SetRoomData", "EndSetRoomData", "InitRoomData",
                  "SetRoomData", "EndSetRoomData", "UseKiosk", "EnablePayType", "EnableSound"}));

    Send(Pack(stSingleRoom{CMD_SINGLE_ROOM, Room(101, 2)}));
    EXPECT_EQ(MovieUntil("DeleteRoomData;스탠다드||101").size(), 1u);
    Send(Pack(stSingleRoom{CMD_SINGLE_ROOM_ALT, Room(101, 0)}));
    EXPECT_EQ(MovieUntil("EndSetRoomData"),
              (std::vector<std::string>{"InitRoomData", "SetRoomData", "EndSetRoomData"}));
}

TEST_F(ServerMessageRouter, OnlyMissingOrChangedPicturesAreFetchedWhileTheScreenShowsLoading) {
    const std::filesystem::path folder = CRoomPictures::DefaultPlaces().pictureFolder;
    std::filesystem::create_directories(folder);
    const std::string kept = "a picture the kiosk already has";
    std::ofstream(folder / "102_0.png", std::ios::binary) << kept;
    const std::string fetched(kFullChunkBytes + 3000, 'p');
    const auto crc = [](const std::string& bytes) {
        return std::to_string(Crc32(bytes.data(), bytes.size()));
    };
    SendFile(CMD_ROOM_IMAGES_INI,
             "[Count]\r\nCount=2\r\n[Name]\r\n0=102_0.png\r\n1=101_0.png\r\n"
             "[CRC]\r\n0=" +
                 crc(kept) + "\r\n1=" + crc(fetched) + "\r\n");
    EXPECT_EQ(MovieUntil("PopupLoading").size(), 1u);
    const std::optional<Bytes> request = NextOf(m_server, CMD_PICTURE_REQUEST);
    ASSERT_TRUE(request.has_value());
    EXPECT_EQ(Field32(*request, 36), 0u) << "the first of one picture to fetch";
    EXPECT_EQ(WireText(*request, 40, 256), "101_0.png");

    SendFile(CMD_PICTURE_CHUNK, fetched);
    EXPECT_EQ(MovieUntil("InitRoomData"),
              (std::vector<std::string>{"ClearLoading", "InitRoomData"}));
    EXPECT_EQ(ReadWholeFile(folder / "101_0.png"), fetched);
}

TEST_F(ServerMessageRouter, AnAnswerToAnEarlierListsRequestIsStoredUnderItsOwnName) {
    const std::filesystem::path folder = CRoomPictures::DefaultPlaces().pictureFolder;
    const std::string first = "the first list's picture";
    const std::string second = "the second list's picture";
    SendFile(CMD_ROOM_IMAGES_INI, "[Count]\r\nCount=1\r\n[Name]\r\n0=101_0.png\r\n");
    EXPECT_EQ(MovieUntil("PopupLoading").size(), 1u);
    ASSERT_TRUE(NextOf(m_server, CMD_PICTURE_REQUEST));
    // A new list comes before the server answered: both requests go with index 0.
    SendFile(CMD_ROOM_IMAGES_INI, "[Count]\r\nCount=1\r\n[Name]\r\n0=102_0.png\r\n");
    EXPECT_EQ(MovieUntil("PopupLoading").size(), 1u);
    const std::optional<Bytes> request = NextOf(m_server, CMD_PICTURE_REQUEST);
    ASSERT_TRUE(request.has_value());
    EXPECT_EQ(WireText(*request, 40, 256), "102_0.png");

    SendFile(CMD_PICTURE_CHUNK, first);
    SendFile(CMD_PICTURE_CHUNK, second);
    EXPECT_EQ(MovieUntil("InitRoomData"),
              (std::vector<std::string>{"ClearLoading", "InitRoomData"}));
    EXPECT_EQ(ReadWholeFile(folder / "101_0.png"), first);
    EXPECT_EQ(ReadWholeFile(folder / "102_0.png"), second);
}

TEST_F(ServerMessageRouter, SaleAnswerStartupAnswerAndLinkLossReachTheirHandlers) {
    stSaleAnswer sale;
    sale.result = -3;
    sale.endTime = "2024-05-18 12:00:00";
    sale.room = Room(305, 1);
    Send(Pack(sale));
    Send(Pack(stStartupAnswer{kStartupReady}));
    Send(ServerPacket(CMD_CLEAR_LOADING, 36));
    EXPECT_EQ(MovieUntil("ClearLoading").size(), 1u);
    ASSERT_EQ(m_sales.size(), 1u);
    EXPECT_EQ(m_sales[0].endTime, "2024-05-18 12:00:00");
    ASSERT_TRUE(m_router.LastSaleAnswer().has_value());
    EXPECT_EQ(m_router.LastSaleAnswer()->room.roomNo, 305);
    ASSERT_EQ(m_boxes.Boxes().size(), 1u);
    EXPECT_EQ(m_boxes.Boxes()[0].text, "Ready!");

    m_server.Drop();
    EXPECT_EQ(MovieUntil("PopupError").size(), 1u);
}

}  // namespace

}  // namespace hx
