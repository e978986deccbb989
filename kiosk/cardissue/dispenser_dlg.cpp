#include "kiosk/cardissue/dispenser_dlg.h"

#include "kiosk/cardissue/dispenser_result.h"
#include "kiosk/support/daily_log.h"
#include "kiosk/support/hex_dump.h"
#include "kiosk/support/serial_chunks.h"
#include "platform/message_loop.h"

namespace hx {

CDispenserDlg::CDispenserDlg(ID1801Library* dispenserLibrary, ILockLibrary* lockLibrary)
    : m_monitor(DispenserLog), m_library(dispenserLibrary, lockLibrary, m_monitor) {}

CDispenserDlg::~CDispenserDlg() {
    CloseDispenserPort();
    DestroyWindow();
}

LRESULT CDispenserDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == CSerialWnd::DefaultComMsg()) {
        OnSerialMessage(wParam);
        return 0;
    }
    return CDialog::WindowProc(message, wParam, lParam);
}

bool CDispenserDlg::OpenDispenserPort(std::string_view port) {
    CloseDispenserPort();
    if (CSerial::CheckPort(port) != 0 || m_serial.Open(port, this) != ERROR_SUCCESS) {
        m_monitor.AddDispenserLogRow({"", "포트 Open", std::string(port) + " 연결실패"});
        return false;
    }
    if (m_serial.Setup(9600, 8, NOPARITY, ONESTOPBIT) != ERROR_SUCCESS ||
        m_serial.Purge() != ERROR_SUCCESS) {
        CloseDispenserPort();
        return false;
    }
    m_monitor.AddDispenserLogRow({"", "포트 Open", std::string(port) + " 연결성공"});
    return true;
}

void CDispenserDlg::CloseDispenserPort() {
    if (m_serial.IsOpen()) {
        m_serial.Close();
        m_monitor.AddDispenserLogRow({"", "포트 Close", ""});
    }
}

int CDispenserDlg::RunCommand(enumDispenserCommand command) {
    return Exchange(BuildDispenserFrame(command));
}

int CDispenserDlg::WriteCardBlock(uint8_t sector, uint8_t block, const CardBlock& data) {
    return Exchange(BuildWriteFrame(sector, block, data));
}

int CDispenserDlg::ReadCardBlock(uint8_t sector, uint8_t block) {
    if (!m_outstanding) {
        m_cardBlock.fill(0);
    }
    return Exchange(BuildReadFrame(sector, block));
}

int CDispenserDlg::DispenserHealth(bool libraryKind) {
    if (libraryKind) {
        return CD1801Dispenser::ResultOf(m_library.D1801Status());
    }
    // A state query asked while another waits (the health check's, say) shares
    // its answer: the waiting one cannot end before this caller returns.
    if (m_outstanding == DISPENSER_GET_STATUS) {
        WaitDispenserAnswer();
        return m_result;
    }
    return RunCommand(DISPENSER_GET_STATUS);
}

// Sends the frame and waits for its answer; a frame that could not go out
// has no answer to wait for.
int CDispenserDlg::Exchange(const std::vector<uint8_t>& frame) {
    if (m_outstanding) {
        m_monitor.AddDispenserLogRow(
            {"TX", std::string(DispenserCommandName(frame[2])), "응답 대기 중: 보내지 않음"});
        return DISPENSER_BUSY;
    }
    m_outstanding = frame[2];
    if (SendDispenserFrame(frame)) {
        WaitDispenserAnswer();
    }
    m_outstanding.reset();
    return m_result;
}

bool CDispenserDlg::SendDispenserFrame(std::span<const uint8_t> frame) {
    m_result = DISPENSER_RECV_ERROR;
    m_answerText.clear();
    DWORD written = 0;
    const bool sent =
        m_serial.IsOpen() &&
        m_serial.Write(frame.data(), frame.size(), &written, kWriteTimeoutMs) == ERROR_SUCCESS &&
        written == frame.size();
    m_monitor.AddDispenserLogRow({"TX", std::string(DispenserCommandName(frame[2])),
                                  HexDump(frame) + (sent ? "" : "!!전송실패")});
    return sent;
}

// Up to the answer timeout in slices of 50 ms (so up to 3,050 ms); a quit
// request ends it too.
bool CDispenserDlg::WaitDispenserAnswer() {
    int waited = 0;
    while (!AnswerArrived()) {
        if (waited > kAnswerTimeoutMs || !PumpMessagesFor(kWaitSliceMs)) {
            return false;
        }
        waited += static_cast<int>(kWaitSliceMs);
    }
    return true;
}

// A wait that runs inside this window's own receive handler (whose settle
// time lets other messages run) would never see the bytes that handler, below
// it, is about to read: it reads them itself.
bool CDispenserDlg::AnswerArrived() {
    if (m_receiving > 0 && m_result == DISPENSER_RECV_ERROR) {
        uint8_t buffer[kSerialChunkSize];
        DWORD count = 0;
        if (m_serial.Read(buffer, sizeof buffer, &count, kSerialReadTimeoutMs) == ERROR_SUCCESS &&
            count > 0) {
            ParseDispenserFrame(std::span<const uint8_t>(buffer, count));
        }
    }
    return m_result != DISPENSER_RECV_ERROR;
}

void CDispenserDlg::OnSerialMessage(WPARAM wParam) {
    const DWORD events = SerialEventsOf(wParam);
    if ((events & EV_ERR) && (SerialErrorsOf(wParam) & CE_IOE)) {
        CloseDispenserPort();  // the health check opens it again
        return;
    }
    if (events & EV_RXCHAR) {
        ++m_receiving;
        ReadSerialChunks(m_serial,
                         [this](std::span<const uint8_t> chunk) { ParseDispenserFrame(chunk); });
        --m_receiving;
    }
}

// An answer that cannot be read ends the wait with its result; a readable
// one only when it answers the command that waits.
void CDispenserDlg::ParseDispenserFrame(std::span<const uint8_t> chunk) {
    const stDispenserAnswer answer = ParseDispenserAnswer(chunk);
    m_monitor.AddDispenserLogRow(answer.row);
    if (!m_outstanding) {
        return;
    }
    if (answer.command && !AnswersOutstanding(*answer.command)) {
        m_monitor.AddDispenserLogRow({"RX", "ERROR", "기다리는 명령의 응답이 아님: 무시"});
        return;
    }
    m_answerText = answer.text;
    if (answer.block) {
        m_cardBlock = *answer.block;
    }
    m_result = answer.result;
}

bool CDispenserDlg::AnswersOutstanding(uint8_t command) const {
    return command == *m_outstanding ||
           (command == DISPENSER_EJECT_CATCH && *m_outstanding == DISPENSER_EJECT_DROP);
}

}  // namespace hx
