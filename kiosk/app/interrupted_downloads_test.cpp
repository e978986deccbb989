#include "kiosk/app/interrupted_downloads.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "tests/support/temp_drive.h"

namespace hx {

namespace {

TEST(InterruptedDownloads, EveryLeftoverTemporaryIsRemovedAndLoggedAndNothingElse) {
    CTempDrive drive;
    const CRoomPictures::stPlaces places = CRoomPictures::DefaultPlaces();
    const std::filesystem::path& folder = places.pictureFolder;
    std::filesystem::create_directories(folder / "sub" / "kept.lock");
    const std::vector<std::filesystem::path> leftovers = {
        folder / "101_0.png.lock", folder / "..lock", folder / "sub" / "102_0.png.lock",
        folder / "sub" / ".lock", places.listFile.string() + ".lock"};
    const std::vector<std::filesystem::path> kept = {folder / "101_0.png", folder / "103.lock.png",
                                                     folder / "sub" / "kept.lock" / "104.png",
                                                     places.listFile};
    for (const std::filesystem::path& file : leftovers) {
        std::ofstream(file) << "half";
    }
    for (const std::filesystem::path& file : kept) {
        std::ofstream(file) << "whole";
    }

    std::set<std::string> log;
    const auto logTo = [&log](std::string_view line) { log.emplace(line); };
    RemoveInterruptedDownloads(places, logTo);

    std::set<std::string> expected;
    for (const std::filesystem::path& file : leftovers) {
        EXPECT_FALSE(std::filesystem::exists(file)) << file;
        expected.insert("중단된 내려받기 파일 삭제: " + file.string());
    }
    EXPECT_EQ(log, expected);
    for (const std::filesystem::path& file : kept) {
        EXPECT_TRUE(std::filesystem::exists(file)) << file;
    }

    log.clear();
    RemoveInterruptedDownloads(places, logTo);
    EXPECT_TRUE(log.empty()) << "nothing left, nothing said";
}

}  // namespace

}  // namespace hx
