#pragma once
// The card terminal's window: it hosts the terminal control, sends the
// approval, cancel, merchant information and status requests, turns the
// control's events into the kiosk window's notifications, and keeps the
// terminal log (a list of at most 10,000 rows, and the daily file
// "VCATLog-YYYYMMDD.log"). The kiosk window reads the answer or the
// information a notification announces from Answer() and Info() before the
// next one comes. Everything runs on the user interface thread.

#include <deque>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "kiosk/payment/credit_answer.h"
#include "kiosk/payment/terminal_control.h"
#include "kiosk/payment/vcat_info.h"
#include "kiosk/payment/vcat_request.h"
#include "platform/dialog.h"
#include "platform/local_time.h"

namespace hx {

inline constexpr UINT WM_VCAT_ANSWER = 10024;
inline constexpr UINT WM_VCAT_TERMEXIT = 10025;
inline constexpr UINT WM_VCAT_FALLBACK = 10026;
inline constexpr UINT WM_VCAT_INFO = 10027;

// The terminal exit code of an approval or cancel that could not be sent.
inline constexpr int32_t kNotSent = -999;

struct stVCatLogRow {
    std::string time;  // "%Y-%m-%d %H:%M:%S"
    std::string text;
};

// What the service panel's cancel fields hold after an approval.
struct stVCatCancelFields {
    std::string amount;
    std::string approvalNo;
    std::string saleDate;
};

class CVCatDlg : public CDialog {
public:
    static constexpr size_t kMaxLogRows = 10000;
    static constexpr const char* kAddress = "127.0.0.1";
    static constexpr int32_t kPort = 13855;
    static constexpr int32_t kTimeout = 30;

    // Notifications go to `parent`; the daily file is kept in `logFolder`
    // (the program's working folder in the kiosk).
    CVCatDlg(HWND parent, std::filesystem::path logFolder, int32_t port = kPort);
    ~CVCatDlg() override;

    void OnInitDialog() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // 1 when the request went to the terminal, 0 when not.
    int CreditApproval(const std::string& signatureFile, int amount);
    int CreditCancel(const std::string& approvalNo, const std::string& saleDate,
                     const std::string& signatureFile, int amount);
    int GetVCATInfo();
    int MakeSignData(const std::string& signatureFile, stSignData& sign);
    void CheckVCAT();
    void WriteVCatLog(const std::string& text);

    const stCreditAnswer& Answer() const { return m_answer; }
    const stVCatInfo& Info() const { return m_info; }
    const std::deque<stVCatLogRow>& LogRows() const { return m_rows; }
    const stVCatCancelFields& CancelFields() const { return m_cancelFields; }

private:
    int SendAsync(const std::vector<stVCatField>& fields);
    // A synchronous request of field 1 alone; the control's handle (0 or
    // less: no answer).
    int32_t ExchangeSync(std::string_view code);
    // The same, logged; the answer's handle or none.
    std::optional<int16_t> AskSync(std::string_view code);
    VCatFieldReader Reader(int16_t handle) const;
    void OnTermExit();
    void OnRcvData();
    void OnRcvState();
    void Notify(UINT message, WPARAM wParam);
    void WriteLines(const std::vector<std::string>& lines);

    const HWND m_parent;
    const std::filesystem::path m_logFolder;
    const int32_t m_port;
    std::unique_ptr<CDSmtSndRcvVCAT> m_control;
    int16_t m_pending = 0;
    bool m_inExchange = false;
    std::optional<std::vector<stVCatField>> m_deferred;
    stCreditAnswer m_answer;
    stVCatInfo m_info;
    stVCatCancelFields m_cancelFields;
    std::deque<stVCatLogRow> m_rows;
};

}  // namespace hx
