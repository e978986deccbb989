// The kiosk's receipt printing in this process against the printer simulator:
// the serial printer on the kiosk's COM0 and the USB printer in a made-up
// sysfs tree, both the simulator's pseudo-terminal. The printer thread
// reports to a window of the test, as it reports to the kiosk window.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "kiosk/printing/printer_thread.h"
#include "platform/ini_file.h"
#include "platform/loop_test_support.h"
#include "platform/registry.h"
#include "tests/support/scoped_environment.h"
#include "tests/support/temp_drive.h"
#include "tools/prnsim/testing_prnsim.h"

namespace hx {

namespace {

using Texts = std::vector<std::string>;

stShopCardInfo Ticket(const std::string& room) {
    return {
        room,      "2026-12-11 / 오전 11시 00분", "35,000", 1796905800, "좋은 하루 되세요", "숙박",
        "스탠다드"};
}

stCardReceiptInfo Receipt() {
    stCardReceiptInfo receipt;
    receipt.kind = kCreditCardReceipt;
    receipt.productName = "201(숙박)";
    receipt.merchantName = "하룻밤 무인텔";
    receipt.amount = 50000;
    receipt.valueAddedTax = 4545;
    receipt.representative = "김하룻";
    receipt.phone = "0212345678";
    receipt.businessNo = "1248100998";
    receipt.address = "서울특별시 중구 세종대로 1 하룻밤빌딩 2층";
    receipt.saleDate = "20261210";
    receipt.deviceName = "KIOSK-01";
    receipt.cardNo = "9410-8512-3456-7890";
    receipt.cardName = "BC카드";
    receipt.merchantNo = "00112233";
    receipt.installmentMonths = "0";
    receipt.approvalNo = "30000001";
    return receipt;
}

class ReceiptPrinting : public ::testing::Test {
protected:
    void SetUp() override {
        // The serial printer's paper takes 48 characters, the USB printer's 42.
        m_serial = std::make_unique<CPrnSimProcess>(m_drive.Folder() / "dosdevices" / "com0",
                                                    m_drive.MakeFolder("serial"));
        m_usb = std::make_unique<CPrnSimProcess>(
            "", m_drive.MakeFolder("usb-printer"),
            std::vector<std::string>{"--usb-tree", (m_drive.Folder() / "usb").string(), "--columns",
                                     "42"});
        ASSERT_TRUE(m_serial->WaitUntilLinked());
        ASSERT_TRUE(m_usb->WaitUntilLinked());
        CRegistry key;
        ASSERT_TRUE(key.Create(enumRegRoot::LocalMachine, kSrp330PrinterKey));
        ASSERT_TRUE(key.WriteString("Port", "USB001"));
        Set("SysfsRoot", (m_drive.Folder() / "usb" / "sys").string());
        Set("DevRoot", (m_drive.Folder() / "usb" / "dev").string());
        m_window.onMessage = [this](UINT message, WPARAM, LPARAM lParam) -> LRESULT {
            if (message == WM_PRINT_SHOPCARD_DONE) {
                m_printed.push_back(reinterpret_cast<const stShopCardInfo*>(lParam)->roomName);
            }
            return 0;
        };
        ASSERT_TRUE(m_window.Create());
    }

    void Set(const char* key, const std::string& value) {
        ASSERT_TRUE(WritePrivateProfileString("Printer", key, value.c_str(), m_ini));
    }

    void StartThread() {
        m_thread = std::make_unique<CPrinterThread>(
            m_window.GetSafeHwnd(), m_ini,
            [this](std::string_view line) { m_log.emplace_back(line); });
        m_thread->Start();
    }

    static Texts DocumentText(const CPrnSimProcess& printer, size_t index) {
        Texts lines;
        const nlohmann::json document = printer.Documents().at(index);
        for (const nlohmann::json& line : document.at("lines")) {
            lines.push_back(line.at("text").get<std::string>());
        }
        return lines;
    }

    static bool Printed(const Texts& lines, const std::string& line) {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }

    const CScopedEnvironment m_zone{"TZ", "KST-9"};
    CTempDrive m_drive;
    const std::filesystem::path m_ini = m_drive.MakeFolder("ini") / "HXKiosk.ini";
    std::unique_ptr<CPrnSimProcess> m_serial;
    std::unique_ptr<CPrnSimProcess> m_usb;
    CRecordingWnd m_window;
    Texts m_printed;
    Texts m_log;
    std::unique_ptr<CPrinterThread> m_thread;
};

TEST_F(ReceiptPrinting, TicketsPrintInOrderEachFollowedByItsOwnResult) {
    StartThread();
    m_thread->PushShopCardPrint(Ticket("201"));
    m_thread->PushShopCardPrint(Ticket("202"));
    ASSERT_TRUE(PumpUntil([&] { return m_printed.size() == 2; }));
    EXPECT_EQ(m_printed, (Texts{"201", "202"}));
    EXPECT_EQ(m_window.WParamsOf(WM_PRINT_SHOPCARD_DONE), (std::vector<WPARAM>{101, 101}));
    ASSERT_TRUE(m_serial->WaitForDocuments(2));
    EXPECT_EQ(DocumentText(*m_serial, 0).at(0), "201");
    EXPECT_EQ(DocumentText(*m_serial, 1).at(0), "202");
    EXPECT_TRUE(Printed(DocumentText(*m_serial, 0), "결제금액 : 35,000원"));
}

TEST_F(ReceiptPrinting, ACheckWhileOneRunsIsNotQueuedAndTheCheckNowAnswersAtOnce) {
    Set("UseSRP330", "ON");
    ASSERT_EQ(m_usb->Command("state silent").substr(0, 2), "ok");
    StartThread();
    m_thread->PushCheck();
    ASSERT_TRUE(WaitUntil([&] { return !m_usb->Events("status request").empty(); }));
    m_thread->PushCheck();
    EXPECT_EQ(m_thread->SyncCheckPrinter(), PRINTER_READY);
    ASSERT_TRUE(PumpUntil([&] { return !m_window.WParamsOf(WM_PRINTER_STATUS).empty(); }));
    EXPECT_EQ(m_window.WParamsOf(WM_PRINTER_STATUS), std::vector<WPARAM>{PRINTER_NO_ANSWER});
    EXPECT_EQ(m_usb->Events("status request").size(), 1u);
}

TEST_F(ReceiptPrinting, TheUsbPrinterPrintsOnlyWhenItSaysItIsReady) {
    Set("UseSRP330", "ON");
    CReceiptPrinters printers(m_ini, [this](std::string_view line) { m_log.emplace_back(line); });
    const struct {
        const char* state;
        int result;
    } cases[] = {
        {"cover-open", 104}, {"feed", 105}, {"paper-out", 103}, {"error", 105}, {"near-end", 101}};
    for (const auto& test : cases) {
        ASSERT_EQ(m_usb->Command(std::string("state ") + test.state).substr(0, 2), "ok");
        EXPECT_EQ(printers.Check(), test.result) << test.state;
        EXPECT_EQ(printers.PrintShopCard(Ticket("201")), test.result) << test.state;
    }
    ASSERT_TRUE(m_usb->WaitForDocuments(1));
    EXPECT_EQ(m_usb->Documents().size(), 1u) << "only the ready printer printed";
    EXPECT_TRUE(m_usb->Events("dropped").empty()) << "nothing was sent to a printer not ready";

    CRegistry key;
    ASSERT_TRUE(key.Open(enumRegRoot::LocalMachine, kSrp330PrinterKey, enumRegAccess::AllAccess));
    ASSERT_TRUE(key.WriteString("Port", "LPT1:"));
    EXPECT_EQ(printers.Check(), PRINTER_NOT_OPENED);
}

// With HX_PRINT_SAMPLES set to a folder, the pictures of both documents from
// both printers are copied there (scripts/print-samples.sh).
TEST_F(ReceiptPrinting, BothDocumentsPrintOnBothPrinters) {
    CReceiptPrinters printers(m_ini, [this](std::string_view line) { m_log.emplace_back(line); });
    for (const char* model : {"OFF", "ON"}) {
        Set("UseSRP330", model);
        printers.LoadPrinterChoice();
        EXPECT_EQ(printers.PrintShopCard(Ticket("201")), PRINTER_READY) << model;
        EXPECT_EQ(printers.PrintCardReceipt(Receipt()), PRINTER_READY) << model;
    }
    const struct {
        CPrnSimProcess& printer;
        const char* ticket;
        const char* receipt;
    } printed[] = {{*m_serial, "serial-ticket.png", "serial-card-receipt.png"},
                   {*m_usb, "usb-ticket.png", "usb-card-receipt.png"}};
    const char* samples = std::getenv("HX_PRINT_SAMPLES");
    for (const auto& [printer, ticket, receipt] : printed) {
        ASSERT_TRUE(printer.WaitForDocuments(2));
        const std::vector<nlohmann::json> documents = printer.Documents();
        for (const nlohmann::json& document : documents) {
            EXPECT_EQ(document.value("badBytes", -1), 0) << ticket;
        }
        EXPECT_TRUE(Printed(DocumentText(printer, 1), "[승 인 번 호]  30000001")) << receipt;
        for (const auto& [index, name] : {std::pair{0, ticket}, {1, receipt}}) {
            if (samples != nullptr) {
                std::filesystem::copy_file(documents[index].at("png").get<std::string>(),
                                           std::filesystem::path(samples) / name,
                                           std::filesystem::copy_options::overwrite_existing);
            }
        }
    }
}

}  // namespace

}  // namespace hx
