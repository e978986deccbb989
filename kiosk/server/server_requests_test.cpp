#include "kiosk/server/server_requests.h"

#include <gtest/gtest.h>

#include "channel/testing_channel.h"
#include "kiosk/records/kiosk_command.h"

namespace hx {

namespace {

using ServerRequests = CChannelTest;

TEST_F(ServerRequests, EachGoesOutOnAClientOfTheKioskServiceWithItsRecord) {
    CTestChannel channel(m_server.Port());
    Connect(channel);
    ASSERT_EQ(SendRoomListRequest(&channel), 1);
    ASSERT_EQ(SendPictureRequest(&channel, 3, std::string(400, 'n')), 1);
    ASSERT_EQ(SendStartupNotice(&channel), 1);

    for (const auto& [command, size] :
         {std::pair{CMD_ROOM_LIST, 168u}, {CMD_PICTURE_REQUEST, 296u}, {CMD_STARTUP, 36u}}) {
        SCOPED_TRACE(command);
        const std::optional<Bytes> opened = m_server.Receive();
        const std::optional<Bytes> request = m_server.Receive();
        ASSERT_TRUE(m_server.Receive().has_value()) << "the client's close";
        ASSERT_TRUE(opened && request && request->size() == size);
        EXPECT_EQ(Field32(*request, HDR_COMMAND), command);
        EXPECT_EQ(Field32(*request, HDR_SIZE), size);
        EXPECT_EQ(Field32(*request, HDR_SENDER_CLIENT_KEY), 0x1001u);
        EXPECT_EQ(Field32(*request, HDR_SENDER_SEQUENCE), Field32(*opened, HDR_SENDER_SEQUENCE));
        EXPECT_EQ(Field32(*request, HDR_SERVICE_KEY), 9u);
        if (command == CMD_PICTURE_REQUEST) {
            EXPECT_EQ(Field32(*request, 36), 3u) << "the download position";
            EXPECT_EQ(WireText(*request, 40, 256), std::string(255, 'n'));
        } else {
            EXPECT_EQ(Bytes(request->begin() + 36, request->end()), Bytes(size - 36, 0));
        }
    }

    EXPECT_EQ(SendRoomListRequest(nullptr), 0);
    EXPECT_EQ(SendPictureRequest(nullptr, 0, "a.png"), 0);
    CTestChannel unconnected(m_server.Port());
    EXPECT_EQ(SendStartupNotice(&unconnected), 0);
}

}  // namespace

}  // namespace hx
