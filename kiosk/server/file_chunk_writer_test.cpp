#include "kiosk/server/file_chunk_writer.h"

#include <gtest/gtest.h>

#include <fstream>

#include "tests/support/file_text.h"
#include "tests/support/temp_drive.h"

namespace hx {

namespace {

stFileChunk Chunk(int32_t offset, const std::string& data) {
    return {CMD_PICTURE_CHUNK, 0, offset, std::vector<uint8_t>(data.begin(), data.end())};
}

class FileChunkWriter : public ::testing::Test {
protected:
    enumChunkWrite Write(int32_t offset, const std::string& data) {
        return WriteFileChunk(m_target, Chunk(offset, data)).result;
    }

    CTempDrive m_drive;
    const std::filesystem::path m_target = m_drive.Folder() / "Skin" / "RoomImage" / "a.png";
    const std::filesystem::path m_temporary = ChunkTemporaryPath(m_target);
};

TEST_F(FileChunkWriter, FileGrowsUnderItsTemporaryNameAndReplacesTheOldOneWhole) {
    std::filesystem::create_directories(m_target.parent_path());
    std::ofstream(m_target) << "old picture";
    std::ofstream(m_temporary) << std::string(50000, 'z');  // left by a transfer cut short
    const std::string full(kFullChunkBytes, 'a');

    EXPECT_EQ(Write(0, full), enumChunkWrite::Written);
    EXPECT_EQ(Write(kFullChunkBytes, full), enumChunkWrite::Written);
    EXPECT_EQ(m_temporary.filename(), "a.png.lock");
    EXPECT_EQ(ReadWholeFile(m_temporary), full + full) << "the first chunk started it afresh";
    EXPECT_EQ(ReadWholeFile(m_target), "old picture") << "untouched until the file is whole";

    EXPECT_EQ(Write(2 * kFullChunkBytes, ""), enumChunkWrite::Completed);
    EXPECT_EQ(ReadWholeFile(m_target), full + full);
    EXPECT_FALSE(std::filesystem::exists(m_temporary));
}

TEST_F(FileChunkWriter, ChunkThatWouldLeaveAGapOrHasNoPlaceIsRefused) {
    const stChunkWriteResult orphan = WriteFileChunk(m_target, Chunk(kFullChunkBytes, "tail"));
    EXPECT_EQ(orphan.result, enumChunkWrite::Failed) << "its first chunk never came";
    EXPECT_FALSE(orphan.failure.empty());

    ASSERT_EQ(Write(0, std::string(kFullChunkBytes, 'x')), enumChunkWrite::Written);
    EXPECT_EQ(Write(3 * kFullChunkBytes, "late"), enumChunkWrite::Failed) << "one went missing";
    EXPECT_EQ(Write(-1, "x"), enumChunkWrite::Failed);
    EXPECT_FALSE(std::filesystem::exists(m_target));

    std::ofstream(m_drive.Folder() / "Blocked") << "a file, not a folder";
    EXPECT_EQ(WriteFileChunk(m_drive.Folder() / "Blocked" / "b.png", Chunk(0, "x")).result,
              enumChunkWrite::Failed);
}

TEST_F(FileChunkWriter, AFileThatCannotTakeItsPlaceLeavesNoTemporaryFileBehind) {
    const std::filesystem::path folder = m_target.parent_path();
    std::filesystem::create_directories(folder / "taken");
    std::ofstream(folder / "taken" / "a.png") << "a folder stands where the file would go";
    for (const std::filesystem::path& target : {folder / ".", folder / "taken"}) {
        SCOPED_TRACE(target);
        EXPECT_EQ(WriteFileChunk(target, Chunk(0, "picture")).result, enumChunkWrite::Failed);
        EXPECT_FALSE(std::filesystem::exists(ChunkTemporaryPath(target)));
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder),
                            std::filesystem::directory_iterator()),
              1);
}

TEST_F(FileChunkWriter, AFileUpToTheCapIsTakenAndOnePastItIsDroppedWithTheRestOfItsChunks) {
    static_assert(kMaxChunkedFileBytes % kFullChunkBytes == 0);
    constexpr int32_t kChunksInCap = kMaxChunkedFileBytes / kFullChunkBytes;
    const std::string full(kFullChunkBytes, 'a');
    CFileChunkWriter writer;
    const auto write = [&](int32_t chunk, const std::string& data) {
        return writer.Write(m_target, Chunk(chunk * int32_t{kFullChunkBytes}, data));
    };
    const auto fillUpToTheCap = [&] {
        for (int32_t chunk = 0; chunk < kChunksInCap; ++chunk) {
            ASSERT_EQ(write(chunk, full).result, enumChunkWrite::Written) << chunk;
        }
    };

    fillUpToTheCap();
    EXPECT_EQ(write(kChunksInCap, "").result, enumChunkWrite::Completed);
    EXPECT_EQ(std::filesystem::file_size(m_target), kMaxChunkedFileBytes);

    fillUpToTheCap();
    const stChunkWriteResult refused = write(kChunksInCap, "x");
    EXPECT_EQ(refused.result, enumChunkWrite::TooLarge);
    EXPECT_NE(refused.failure.find(std::to_string(kMaxChunkedFileBytes)), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(m_temporary));
    EXPECT_EQ(std::filesystem::file_size(m_target), kMaxChunkedFileBytes) << "the old file stays";
    for (const int32_t chunk : {kChunksInCap + 1, 5, kChunksInCap}) {
        EXPECT_EQ(write(chunk, full).result, enumChunkWrite::Skipped) << chunk;
    }
    EXPECT_FALSE(std::filesystem::exists(m_temporary));

    EXPECT_EQ(write(0, "new").result, enumChunkWrite::Completed) << "a fresh start is taken";
    EXPECT_EQ(ReadWholeFile(m_target), "new");
}

TEST_F(FileChunkWriter, AChunkEndingPastTheCapIsTooLargeWhereverItLies) {
    for (const int32_t offset : {int32_t{kMaxChunkedFileBytes}, INT32_MAX}) {
        EXPECT_EQ(WriteFileChunk(m_target, Chunk(offset, "x")).result, enumChunkWrite::TooLarge)
            << offset;
    }
    EXPECT_FALSE(std::filesystem::exists(m_temporary));
}

}  // namespace

}  // namespace hx
