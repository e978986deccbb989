#include "kiosk/server/server_message_dispatcher.h"

#include <gtest/gtest.h>

#include "kiosk/records/file_chunk_records.h"
#include "kiosk/records/update_records.h"
#include "kiosk/server/testing_server_events.h"
#include "net/byte_order.h"
#include "net/packet_header.h"
#include "tests/support/temp_drive.h"

namespace hx {

namespace {

using Bytes = std::vector<uint8_t>;

Bytes HeaderOnly(uint32_t command, size_t size) {
    Bytes packet(size);
    InitPacketHeader(packet, static_cast<enumCommand>(command));
    return packet;
}

Bytes Chunk(uint32_t command, int32_t index, int32_t offset, const std::string& data) {
    return Pack(stFileChunk{command, index, offset, Bytes(data.begin(), data.end())});
}

class ServerMessageDispatcher : public ::testing::Test {
protected:
    ServerMessageDispatcher()
        : m_dispatcher(m_events, m_files,
                       [this](std::string_view line) { m_log.emplace_back(line); }) {
        m_events.roomImagesTarget = m_drive.Folder() / "Harlix" / "RoomImages.ini";
        m_events.pictureTargets[0] = m_drive.Folder() / "RoomImage" / "101_0.png";
    }

    CTempDrive m_drive;
    CRecordingServerEvents m_events;
    CFileChunkWriter m_files;
    std::vector<std::string> m_log;
    CServerMessageDispatcher m_dispatcher;
};

TEST_F(ServerMessageDispatcher, WholeMessagesReachTheirHandlerAndShorterOnesAreLoggedAndDropped) {
    stRoom4Kiosk room;
    room.roomNo = 305;
    stSaleAnswer sale;
    sale.result = -2;
    const std::vector<std::pair<Bytes, std::string>> messages = {
        {Pack(stRoomPage{1, 1, {room}}), "rooms 1"},
        {Pack(stSingleRoom{CMD_SINGLE_ROOM, room}), "room 305"},
        {Pack(stClassPage{1, 1, {{0, 4, 1, "특실"}}}), "classes 1"},
        {Pack(stKioskConfig{}), "config show=0"},
        {Pack(stKioskOptions{"", 2, 0, 0, ""}), "options 2"},
        {Pack(stSingleRoom{CMD_SINGLE_ROOM_ALT, room}), "room 305"},
        {Pack(sale), "sale -2"},
        {Pack(stStartupAnswer{kStartupReady}), "ready"},
    };
    std::vector<std::string> expected;
    for (const auto& [whole, call] : messages) {
        SCOPED_TRACE(call);
        const uint32_t command = LoadLe32(whole.data());
        ASSERT_EQ(whole.size(), CServerMessageDispatcher::MinimumSize(command));
        // One byte short, and the buffer really ends there.
        const Bytes cut(whole.begin(), whole.end() - 1);
        m_log.clear();
        EXPECT_EQ(m_dispatcher.Dispatch(cut), enumParseResult::Handled);
        ASSERT_EQ(m_log.size(), 1u);
        EXPECT_NE(m_log[0].find(std::to_string(command)), std::string::npos) << m_log[0];
        EXPECT_EQ(m_events.Calls(), expected);

        EXPECT_EQ(m_dispatcher.Dispatch(whole), enumParseResult::Handled);
        expected.push_back(call);
        EXPECT_EQ(m_events.Calls(), expected);
    }
    EXPECT_EQ(m_dispatcher.Dispatch(Pack(stStartupAnswer{0})), enumParseResult::Handled);
    EXPECT_EQ(m_dispatcher.Dispatch(HeaderOnly(9, 36)), enumParseResult::Handled);
    EXPECT_EQ(m_dispatcher.Dispatch(HeaderOnly(504, 36)), enumParseResult::Handled);
    EXPECT_EQ(m_dispatcher.Dispatch(HeaderOnly(CMD_CLEAR_LOADING, 36)), enumParseResult::Handled);
    EXPECT_EQ(m_dispatcher.Dispatch(HeaderOnly(777, 600)), enumParseResult::NotMine);
    expected.push_back("clear loading");
    EXPECT_EQ(m_events.Calls(), expected);
}

TEST_F(ServerMessageDispatcher, ChunksAssembleTheirFileAndThoseThatCannotBeWrittenAreDropped) {
    const std::string full(kFullChunkBytes, 'P');
    EXPECT_EQ(m_dispatcher.Dispatch(Chunk(CMD_PICTURE_CHUNK, 0, 0, full)),
              enumParseResult::Handled);
    EXPECT_TRUE(m_events.Calls().empty()) << "a full chunk does not end the file";
    EXPECT_EQ(m_dispatcher.Dispatch(Chunk(CMD_PICTURE_CHUNK, 0, kFullChunkBytes, "")),
              enumParseResult::Handled);
    EXPECT_EQ(std::filesystem::file_size(m_events.pictureTargets[0]), kFullChunkBytes);
    EXPECT_EQ(m_dispatcher.Dispatch(Chunk(CMD_ROOM_IMAGES_INI, 99, 0, "[Count]")),
              enumParseResult::Handled)
        << "the list's chunks carry no index worth reading";
    EXPECT_TRUE(std::filesystem::exists(m_events.roomImagesTarget));
    EXPECT_EQ(m_events.Calls(), (std::vector<std::string>{"picture 0", "room images"}));

    Bytes badCount = Chunk(CMD_PICTURE_CHUNK, 0, 0, "x");
    StoreLe32(&badCount[44], static_cast<uint32_t>(kChunkFieldBytes + 1));
    for (const Bytes& chunk : {Chunk(CMD_PICTURE_CHUNK, 1, 0, "x"),  // outside the list
                               Chunk(CMD_PICTURE_CHUNK, -1, 0, "x"), badCount,
                               Chunk(CMD_PICTURE_CHUNK, 0, 99999, "x")}) {  // a gap
        EXPECT_EQ(m_dispatcher.Dispatch(chunk), enumParseResult::NotWritten);
    }
    EXPECT_EQ(m_events.Calls().size(), 2u);
    EXPECT_EQ(m_log.size(), 4u);
}

TEST_F(ServerMessageDispatcher, APictureThatGoesOnPastTheCapLeavesOneLineAndNoFile) {
    const std::string full(kFullChunkBytes, 'P');
    const auto chunksPastTheCap = static_cast<int32_t>(kMaxChunkedFileBytes / kFullChunkBytes + 50);
    for (int32_t chunk = 0; chunk < chunksPastTheCap; ++chunk) {
        m_dispatcher.Dispatch(Chunk(CMD_PICTURE_CHUNK, 0, chunk * int32_t{kFullChunkBytes}, full));
    }
    ASSERT_EQ(m_log.size(), 1u);
    EXPECT_NE(m_log[0].find("서버 메시지 512 버림: "), std::string::npos) << m_log[0];
    EXPECT_NE(m_log[0].find("101_0.png 크기 한도"), std::string::npos) << m_log[0];
    EXPECT_FALSE(std::filesystem::exists(m_events.pictureTargets[0]));
    EXPECT_FALSE(std::filesystem::exists(ChunkTemporaryPath(m_events.pictureTargets[0])));
    EXPECT_TRUE(m_events.Calls().empty());
}

}  // namespace

}  // namespace hx
