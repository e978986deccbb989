#include "kiosk/payment/vcat_dlg.h"

#include <cstdio>
#include <utility>

#include "platform/atomic_file.h"
#include "platform/cp949.h"
#include "platform/message_loop.h"

namespace hx {

namespace {

constexpr int16_t kCodeField = 1;
constexpr int16_t kFiller1Field = 25;
constexpr int16_t kResultCodeField = 17;
constexpr int16_t kResultMessageField = 18;

std::string LogFileName(const stLocalTime& t) {
    char text[32];
    std::snprintf(text, sizeof text, "VCATLog-%04d%02d%02d.log", t.year, t.month, t.day);
    return text;
}

// The state codes the terminal reports, and what they mean.
const char* StateText(const std::string& code) {
    static const std::pair<const char*, const char*> kStates[] = {
        {"1I", "[신용-IC카드대기]"},
        {"1M", "[신용-MS카드대기]"},
        {"1P", "[신용-PIN번호대기]"},
        {"1S", "[신용-사인대기]"},
        {"1T", "[신용-터치사인대기]"},
        {"2D", "[현금영수증-화면패드만대기]"},
        {"2C", "[현금영수증-M/S카드번호대기(화면패드대기포함)]"},
        {"2P", "[현금영수증-서명패드번호입력대기(화면패드대기포함)]"},
        {"2M", "[현금영수증-M/S카드번호 및 서명패드번호입력대기(화면패드대기포함)]"},
        {"3C", "[포인트-M/S카드대기]"},
        {"3P", "[포인트-비밀번호입력]"},
        {"CK", "[카드입력대기 정상종료]"},
        {"PK", "[핀입력대기 정상종료]"},
        {"SK", "[사인입력대기 정상종료]"},
        {"NK", "[번호입력대기 정상종료]"},
        {"TS", "[VAN 서버 통신 시작]"},
        {"TE", "[VAN 서버 통신 종료]"},
    };
    for (const auto& [state, text] : kStates) {
        if (code == state) {
            return text;
        }
    }
    return "";
}

}  // namespace

CVCatDlg::CVCatDlg(HWND parent, std::filesystem::path logFolder, int32_t port)
    : m_parent(parent), m_logFolder(std::move(logFolder)), m_port(port) {}

CVCatDlg::~CVCatDlg() {
    m_control.reset();
    DestroyWindow();
}

void CVCatDlg::OnInitDialog() {
    m_control = std::make_unique<CDSmtSndRcvVCAT>(GetSafeHwnd());
}

LRESULT CVCatDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != CDSmtSndRcvVCAT::EventMessage()) {
        return CDialog::WindowProc(message, wParam, lParam);
    }
    if (wParam == TERMINAL_EXIT) {
        OnTermExit();
    } else if (wParam == TERMINAL_DATA) {
        OnRcvData();
    } else if (wParam == TERMINAL_STATE) {
        OnRcvState();
    }
    return 0;
}

int CVCatDlg::CreditApproval(const std::string& signatureFile, int amount) {
    std::optional<stSignData> sign;
    if (!signatureFile.empty() && !MakeSignData(signatureFile, sign.emplace())) {
        return 0;
    }
    return SendAsync(ApprovalRequestFields(amount, sign));
}

int CVCatDlg::CreditCancel(const std::string& approvalNo, const std::string& saleDate,
                           const std::string& signatureFile, int amount) {
    std::optional<stSignData> sign;
    if (!signatureFile.empty() && !MakeSignData(signatureFile, sign.emplace())) {
        return 0;
    }
    return SendAsync(CancelRequestFields(approvalNo, saleDate, amount, sign));
}

// A synchronous request keeps the screen alive while it waits, so an
// approval can be asked for meanwhile: it goes out when the terminal is free.
int CVCatDlg::SendAsync(const std::vector<stVCatField>& fields) {
    if (m_inExchange) {
        if (m_deferred) {
            return 0;
        }
        m_deferred = fields;
        WriteVCatLog("단말기 응답 대기 중: 요청 보류");
        return 1;
    }
    if (!m_control) {
        return 0;
    }
    m_control->ClearSendData();
    for (const stVCatField& field : fields) {
        m_control->SetSendData(field.number, field.value);
    }
    const int16_t handle = m_control->SndRcvAsync(kAddress, m_port, kTimeout);
    WriteVCatLog("결과:[" + std::to_string(handle) + "]");
    if (handle <= 0) {
        return 0;
    }
    m_pending = handle;
    return 1;
}

int32_t CVCatDlg::ExchangeSync(std::string_view code) {
    if (!m_control || m_inExchange) {
        return 0;
    }
    m_control->ClearSendData();
    m_control->SetSendData(kCodeField, std::string(code));
    m_inExchange = true;
    const int32_t handle = m_control->SndRcvSync(kAddress, m_port, kTimeout);
    m_inExchange = false;
    if (std::optional<std::vector<stVCatField>> deferred = std::exchange(m_deferred, std::nullopt);
        deferred && SendAsync(*deferred) == 0) {
        Notify(WM_VCAT_TERMEXIT, static_cast<WPARAM>(kNotSent));
    }
    return handle;
}

std::optional<int16_t> CVCatDlg::AskSync(std::string_view code) {
    const int32_t handle = ExchangeSync(code);
    WriteVCatLog("결과:[" + std::to_string(handle) + "]");
    if (handle <= 0) {
        return std::nullopt;
    }
    return static_cast<int16_t>(handle);
}

int CVCatDlg::GetVCATInfo() {
    m_info = {};
    WriteVCatLog("GetVCATInfo 시작");
    const std::optional<int16_t> handle = AskSync(kInfoCode);
    if (!handle) {
        return 0;
    }
    std::string whyNot;
    const std::optional<stParsedVCatInfo> parsed = ReadVCatInfo(Reader(*handle), whyNot);
    if (!parsed) {
        WriteVCatLog(whyNot);
        return 0;
    }
    WriteLines(parsed->logLines);
    m_info = parsed->info;
    Notify(WM_VCAT_INFO, 0);
    return 1;
}

int CVCatDlg::MakeSignData(const std::string& signatureFile, stSignData& sign) {
    WriteVCatLog("MakeSignData 시작");
    const std::optional<int16_t> handle = AskSync(kInfoCode);
    if (!handle) {
        return 0;
    }
    const std::string code = m_control->GetRcvData(*handle, kCodeField);
    if (code != kInfoAnswerCode) {
        WriteVCatLog("서비스 유형 맞지 않음:[" + code + "]");
        return 0;
    }
    const std::string filler1 = m_control->GetRcvData(*handle, kFiller1Field);
    const stWorkingKey key = WorkingKeyOf(filler1);
    WriteLines(
        {"FILLER1: " + filler1, "WorkingKey Index: " + key.index, "WorkingKey      : " + key.key});
    const int32_t result =
        m_control->BmpToEncSign(key.key, key.index, signatureFile, sign.hash, sign.signature);
    if (result < 0) {
        WriteVCatLog(SignFailureLine(result));
        return 0;
    }
    WriteLines({"SignData: " + sign.signature, "HashData: " + sign.hash});
    return 1;
}

void CVCatDlg::CheckVCAT() {
    WriteVCatLog("CheckVCAT 시작");
    const int32_t handle = ExchangeSync(kStatusCheckCode);
    std::string code;
    std::string message;
    if (handle > 0) {
        code = m_control->GetRcvData(static_cast<int16_t>(handle), kResultCodeField);
        message = m_control->GetRcvData(static_cast<int16_t>(handle), kResultMessageField);
    }
    WriteVCatLog("결과:[" + std::to_string(handle) + "] 결과 코드:[" + code + "] 메시지:[" +
                 message + "]");
}

VCatFieldReader CVCatDlg::Reader(int16_t handle) const {
    return [this, handle](int16_t field) { return m_control->GetRcvData(handle, field); };
}

void CVCatDlg::OnTermExit() {
    const int32_t code = m_control->GetTermExitCode();
    WriteVCatLog("OnTermExitAxSmt: [" + std::to_string(code) + "]");
    Notify(WM_VCAT_TERMEXIT, static_cast<WPARAM>(code));
}

// Only approval and cancel answers are read; the record is overwritten in
// place, so the kiosk window copies it when told.
void CVCatDlg::OnRcvData() {
    const std::optional<stParsedCreditAnswer> parsed = ReadCreditAnswer(Reader(m_pending));
    if (!parsed) {
        return;
    }
    m_answer = parsed->answer;
    WriteLines(parsed->logLines);
    Notify(WM_VCAT_ANSWER, 0);
    if (m_answer.messageCode == kApprovalAnswerCode) {
        m_cancelFields = {std::to_string(m_answer.amount), m_answer.approvalNo, m_answer.saleDate};
    }
}

void CVCatDlg::OnRcvState() {
    while (const std::optional<std::string> code = m_control->TakeState()) {
        WriteVCatLog("OnRcvStateAxSmt: [" + *code + "]" + StateText(*code));
        if (*code == "1M") {
            Notify(WM_VCAT_FALLBACK, 2);
        }
    }
}

void CVCatDlg::Notify(UINT message, WPARAM wParam) {
    if (m_parent != 0) {
        ::hx::PostMessage(m_parent, message, wParam, 0);
    }
}

void CVCatDlg::WriteLines(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
        WriteVCatLog(line);
    }
}

// More than 10,000 rows: the list starts again. Each line also goes to the
// day's file.
void CVCatDlg::WriteVCatLog(const std::string& text) {
    if (m_rows.size() > kMaxLogRows) {
        m_rows.clear();
    }
    const stLocalTime now = GetLocalTimeNow();
    m_rows.push_back({LocalTimeText(now), text});
    AppendToFile(m_logFolder / LogFileName(now),
                 Cp949FromUtf8("[" + m_rows.back().time + "] " + text + "\r\n"));
}

}  // namespace hx
