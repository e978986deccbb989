#pragma once
// Shared by the serial port tests: a fresh drive whose COM3 is linked to a
// pseudo-terminal the test holds the device side of, so no test ever
// reaches a real serial device.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/loop_test_support.h"
#include "platform/pseudo_terminal.h"
#include "tests/support/temp_drive.h"

namespace hx {

class CSerialPortTest : public CManualClockTest {
protected:
    void SetUp() override {
        CManualClockTest::SetUp();
        ASSERT_TRUE(m_device.IsOpen()) << "no pseudo-terminal to stand in for the device";
        LinkPort(3, m_device.SlavePath());
    }

    // DRIVE/dosdevices/comN leads to `target`, as the demo links a simulator.
    void LinkPort(int number, const std::filesystem::path& target) const {
        const std::filesystem::path folder = m_drive.MakeFolder("dosdevices");
        std::filesystem::create_symlink(target, folder / ("com" + std::to_string(number)));
    }

    CTempDrive m_drive;
    CPseudoTerminal m_device;
};

}  // namespace hx
