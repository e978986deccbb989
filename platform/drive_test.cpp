#include "platform/drive.h"

#include <gtest/gtest.h>

#include "tests/support/scoped_environment.h"

namespace hx {

namespace {

TEST(DriveFolder, CommandLineWinsOverEnvironmentWhichWinsOverDefault) {
    {
        const CScopedEnvironment drive("HXKIOSK_DRIVE", "/tmp/from-env");
        EXPECT_EQ(ResolveDriveFolder(std::string("/tmp/from-cli")), "/tmp/from-cli");
        EXPECT_EQ(ResolveDriveFolder(std::nullopt), "/tmp/from-env");
    }
    const CScopedEnvironment noDrive("HXKIOSK_DRIVE", std::nullopt);
    EXPECT_EQ(ResolveDriveFolder(std::nullopt), "/var/lib/hxkiosk");
    EXPECT_EQ(ResolveDriveFolder(std::string()), "/var/lib/hxkiosk");
}

TEST(DriveFolder, WindowsPathsMapBelowTheDrive) {
    SetDriveFolder("/tmp/drive");
    EXPECT_EQ(MapWindowsPath("c:\\Harlix\\INI\\HXKiosk.ini"), "/tmp/drive/Harlix/INI/HXKiosk.ini");
    EXPECT_EQ(MapWindowsPath("C:/Windows/win.ini"), "/tmp/drive/Windows/win.ini");
    EXPECT_EQ(MapWindowsPath("c:\\"), "/tmp/drive");
    EXPECT_EQ(MapWindowsPath("INI\\a.ini"), "INI/a.ini");
    EXPECT_EQ(GetProgramFolder(), "/tmp/drive/Harlix");
    EXPECT_EQ(GetWindowsFolder(), "/tmp/drive/Windows");
}

TEST(DriveFolder, PathsBelowTheDriveReadAsWindowsPaths) {
    SetDriveFolder("/tmp/drive/");
    EXPECT_EQ(WindowsFormOf("/tmp/drive/Harlix/INI/HXKiosk.ini"), "c:\\Harlix\\INI\\HXKiosk.ini");
    EXPECT_EQ(WindowsFormOf("/tmp/drive"), "c:\\");
    EXPECT_EQ(WindowsFormOf("/tmp/drive-2/a.ini"), "/tmp/drive-2/a.ini");
    EXPECT_EQ(WindowsFormOf("/tmp/drive/../etc/a.ini"), "/tmp/drive/../etc/a.ini");
}

}  // namespace

}  // namespace hx
