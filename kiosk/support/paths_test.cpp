#include "kiosk/support/paths.h"

#include <gtest/gtest.h>

#include "platform/drive.h"

namespace hx {

namespace {

TEST(KioskPaths, EmptyNameGivesTheBaseFolderAndNamesMapTheirSeparators) {
    SetDriveFolder("/tmp/kiosk-drive");
    EXPECT_EQ(GetProgramPath().string(), "/tmp/kiosk-drive/Harlix");
    EXPECT_EQ(GetLogPath().string(), "/tmp/kiosk-drive/Harlix/LogFiles");
    EXPECT_EQ(GetSkinPath("").string(), "/tmp/kiosk-drive/Harlix/Skin");
    EXPECT_EQ(GetProgramPath("INI\\SaveMoney.ini").string(),
              "/tmp/kiosk-drive/Harlix/INI/SaveMoney.ini");
    EXPECT_EQ(GetSkinPath("RoomImage\\101.jpg").string(),
              "/tmp/kiosk-drive/Harlix/Skin/RoomImage/101.jpg");
}

}  // namespace

}  // namespace hx
