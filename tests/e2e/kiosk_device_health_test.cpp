// A device fault that stops sales, seen from outside: the error screen on
// the customer screen, the fault and its end at the desk, and a reconnect
// that must not take the error screen away while the fault stands.
#include <gtest/gtest.h>

#include <chrono>
#include <regex>
#include <string>

#include "kiosk/printing/srp330_printer.h"
#include "kiosk/screen/device_health.h"
#include "platform/ini_file.h"
#include "platform/registry.h"
#include "tests/e2e/kiosk_sale_test.h"
#include "tests/support/wait_until.h"

namespace hx {

namespace {

// Longer than the health check's period, so a wait spans one check.
constexpr auto kOneHealthCheck = std::chrono::milliseconds(2 * CDeviceHealth::kRecheckMs);

class KioskDeviceHealth : public CKioskSaleTest {
protected:
    void BeforeKiosk() override {
        CKioskSaleTest::BeforeKiosk();
        // A lost desk is looked for again at once, not after minutes.
        CEnvr(kRegistryApplication).WriteInt("TCP/IP", "ReconnectMs", 300);
    }

    // The device event `code` reached the desk, occurred or cleared.
    bool DeskHeardEvent(int code, bool cleared) {
        return WaitUntil(
            [&] {
                for (const nlohmann::json& entry : m_desk->Journal()) {
                    const nlohmann::json fields = entry.value("fields", nlohmann::json::object());
                    if (entry.value("command", 0) == 505 && fields.value("code", -1) == code &&
                        fields.value("cleared", -1) == (cleared ? 1 : 0)) {
                        return true;
                    }
                }
                return false;
            },
            kOneHealthCheck);
    }

    // The USB printer instead of the serial one: it prints only when ready,
    // so a printer out of paper fails the ticket.
    void UseUsbPrinter() {
        m_usbPrinter = std::make_unique<CPrnSimProcess>(
            "", m_drive.MakeFolder("usb-printer"),
            std::vector<std::string>{"--usb-tree", (m_drive.Folder() / "usb").string()});
        ASSERT_TRUE(m_usbPrinter->WaitUntilLinked());
        CRegistry key;
        ASSERT_TRUE(key.Create(enumRegRoot::LocalMachine, kSrp330PrinterKey));
        ASSERT_TRUE(key.WriteString("Port", "USB001"));
        const std::filesystem::path ini = GetProgramPath("INI\\HXKiosk.ini");
        for (const auto& [name, value] :
             {std::pair<const char*, std::string>{"UseSRP330", "ON"},
              {"SysfsRoot", (m_drive.Folder() / "usb" / "sys").string()},
              {"DevRoot", (m_drive.Folder() / "usb" / "dev").string()}}) {
            ASSERT_TRUE(WritePrivateProfileString("Printer", name, value.c_str(), ini));
        }
    }

    void ExpectEverythingReportedCleared() {
        for (const int code : {500, 300, 401}) {
            EXPECT_TRUE(DeskHeardEvent(code, true)) << code << " cleared";
        }
        ExpectScript("ClearError", "");
    }

    std::unique_ptr<CPrnSimProcess> m_usbPrinter;
};

class KioskPaperOut : public KioskDeviceHealth {
protected:
    void BeforeKiosk() override {
        KioskDeviceHealth::BeforeKiosk();
        UseUsbPrinter();
    }
};

TEST_F(KioskPaperOut, PaperOutStopsSalesUntilTheHealthCheckFindsThePaperBack) {
    ASSERT_EQ(m_usbPrinter->Command("state paper-out").substr(0, 2), "ok");
    PayWithNotes(201, 30000, {10000, 10000, 10000});
    OrderTicket(201, 30000, true);
    EXPECT_EQ(NextScripts("MakeTicketRes", 2), (std::vector<std::string>{"0||1", "1||0"}))
        << "the key card, but no ticket";
    ExpectScript("PopupError", "");
    EXPECT_TRUE(DeskHeardEvent(302, false)) << "paper out";
    EXPECT_EQ(m_dispenser->IssuedCards().size(), 1u);
    ASSERT_TRUE(WaitForKioskLog(std::regex("하드웨어 체크 시작\\."), m_log, m_logFrom));
    ExpectScript("PopupError", "");  // the first check still finds no paper

    ASSERT_EQ(m_usbPrinter->Command("state ready").substr(0, 2), "ok");
    ExpectEverythingReportedCleared();
}

TEST_F(KioskDeviceHealth, AReconnectLeavesTheErrorScreenUpWhileTheDispenserIsEmpty) {
    ASSERT_EQ(m_dispenser->Command("fault empty on").substr(0, 2), "ok");
    Pay(201, 30000, true);
    ExpectScript("PopupError", "");
    ASSERT_TRUE(DeskHeardEvent(502, false)) << "no cards";

    ASSERT_EQ(m_desk->Command("drop").substr(0, 2), "ok");
    ExpectScript("InitRoomData", "");
    EXPECT_TRUE(WaitForKioskLog(std::regex("장치 이상 중: 오류 화면 유지"), m_log, m_logFrom))
        << "the reconnect's ClearError is held back";
    ExpectScript("PopupError", "");

    ASSERT_EQ(m_dispenser->Command("fault empty off").substr(0, 2), "ok");
    ExpectEverythingReportedCleared();
}

}  // namespace

}  // namespace hx
