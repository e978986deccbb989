#include "kiosk/printing/srt320_printer.h"

namespace hx {

namespace {

constexpr int kSerialSpeed = 115200;
constexpr int kRetryAnswer = 101;

bool StatusIsFault(int answer) {
    return answer == 3 || answer == 101 || answer == 200 || answer <= 0;
}

int PrintResult(int answer, bool ticket) {
    switch (answer) {
        case 0:
            return SRT320_PRINT_FAILED;
        case 2:
            return SRT320_PRINT_REFUSED;
        case 101:
            return SRT320_NOT_OPENED;
        case 200:
            return ticket ? SRT320_NOT_OPENED : SRT320_OK;
        default:
            return SRT320_OK;
    }
}

}  // namespace

CSrt320Printer::~CSrt320Printer() {
    Close();
}

bool CSrt320Printer::Open() {
    const int speed = m_port == "USB" ? 0 : kSerialSpeed;
    m_open = m_library.Open(m_port.c_str(), speed) != 0;
    if (!m_open) {
        m_log("프린트 오픈 실패.");
    }
    return m_open;
}

void CSrt320Printer::Close() {
    if (m_open) {
        m_library.Close();
        m_open = false;
    }
}

int CSrt320Printer::Status() {
    if (!Open()) {
        return SRT320_NOT_OPENED;
    }
    const int answer = m_library.Status(4);
    int result = SRT320_OK;
    if (answer == 3) {
        result = SRT320_PAPER_OUT;
    } else if (answer == 101) {
        result = SRT320_NOT_OPENED;
    } else if (StatusIsFault(answer)) {
        m_log("프린터 체크 실패[" + std::to_string(answer) + "]");
        result = SRT320_STATUS_UNREAD;
    }
    if (StatusIsFault(answer)) {
        m_log("프린터 이상 발생[" + std::to_string(result) + "]");
    }
    Close();
    return result;
}

int CSrt320Printer::PrintDocument(const std::string& document, bool ticket) {
    if (!Open()) {
        return SRT320_NOT_OPENED;
    }
    int answer = m_library.Print(document.c_str());
    if (answer == kRetryAnswer) {
        Close();
        if (!Open()) {
            return SRT320_NOT_OPENED;
        }
        answer = m_library.Print(document.c_str());
    }
    Close();
    return PrintResult(answer, ticket);
}

}  // namespace hx
