#include "tools/frontdesk/picture_library.h"

#include <gtest/gtest.h>

#include <fstream>

#include "kiosk/records/file_chunk_records.h"
#include "kiosk/records/kiosk_command.h"
#include "net/crc32.h"
#include "platform/ini_document.h"
#include "tests/support/temp_drive.h"

namespace hx {

namespace {

class PictureLibraryTest : public ::testing::Test {
protected:
    PictureLibraryTest() {
        std::filesystem::create_directories(Pictures());
        Write(Pictures() / "301_0.png", "abc");
        Write(Pictures() / "201_0.png", std::string(kFullChunkBytes, 'x'));
        Write(Pictures() / "RoomImages.ini", "stale");
        Write(m_folder.Folder() / "secret.txt", "not a picture");
        std::filesystem::create_directories(Pictures() / "sub");
        std::filesystem::create_symlink(m_folder.Folder() / "secret.txt", Pictures() / "link.png");
    }
    std::filesystem::path Pictures() const { return m_folder.Folder() / "pictures"; }
    static void Write(const std::filesystem::path& file, const std::string& bytes) {
        std::ofstream(file, std::ios::binary) << bytes;
    }

    CTempDrive m_folder;
};

TEST_F(PictureLibraryTest, IndexListsEveryFileWithItsChecksum) {
    const CPictureLibrary library(Pictures());
    const CIniDocument index = CIniDocument::Parse(library.BuildIndex());
    EXPECT_EQ(index.GetString("Count", "Count", "", 256), "2")
        << "neither the old index, the subfolder nor a link out of the folder";
    EXPECT_EQ(index.GetString("Name", "0", "", 256), "201_0.png");
    EXPECT_EQ(index.GetString("Name", "1", "", 256), "301_0.png");
    EXPECT_EQ(index.GetString("CRC", "1", "", 256), "739719564");
    const Bytes full(kFullChunkBytes, 'x');
    EXPECT_EQ(index.GetString("CRC", "0", "", 256),
              std::to_string(Crc32(full.data(), full.size())));
}

TEST_F(PictureLibraryTest, ReadsOnlyFilesThatLieInTheFolder) {
    const CPictureLibrary library(Pictures());
    Bytes bytes;
    EXPECT_TRUE(library.ReadPicture("301_0.png", bytes));
    EXPECT_EQ(bytes, (Bytes{'a', 'b', 'c'}));
    for (const char* name : {"../secret.txt", "..\\secret.txt", "link.png", "sub", "",
                             "/etc/passwd", "sub/../301_0.png", "missing.png"}) {
        EXPECT_FALSE(library.ReadPicture(name, bytes)) << name;
    }
    EXPECT_FALSE(CPictureLibrary({}).ReadPicture("301_0.png", bytes));
}

TEST_F(PictureLibraryTest, AFileOfWholeChunksEndsWithAnEmptyOne) {
    Bytes file(kFullChunkBytes, 'x');
    const std::vector<Bytes> packets = BuildFileChunkPackets(CMD_PICTURE_CHUNK, 2, file);
    ASSERT_EQ(packets.size(), 2u);
    stFileChunk last;
    ASSERT_TRUE(Unpack(packets[1], last));
    EXPECT_TRUE(last.data.empty());
    EXPECT_EQ(last.offset, 16384);
    EXPECT_EQ(last.index, 2);
    EXPECT_EQ(BuildFileChunkPackets(CMD_ROOM_IMAGES_INI, 0, {}).size(), 1u);
}

}  // namespace

}  // namespace hx
