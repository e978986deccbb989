#pragma once
// The card dispenser's window: the serial dispenser's port (9600 8N1), its
// commands and answers, and the library kind beside it; the monitor of
// both. The kiosk window owns it; the service view will show it.
//
// One command is outstanding at a time: its answer is waited for by
// pumping the loop for up to 3 s, and only an answer to that command (or
// one that cannot be read at all) ends the wait. A command asked for while
// another waits gets DISPENSER_BUSY and nothing is sent, so a late answer
// can never be taken for another command's. Everything runs on the user
// interface thread; the port's listener only posts messages.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "kiosk/cardissue/d1801_dispenser.h"
#include "kiosk/cardissue/dispenser_answer.h"
#include "kiosk/cardissue/dispenser_frame.h"
#include "kiosk/cardissue/dispenser_libraries.h"
#include "kiosk/cardissue/dispenser_monitor.h"
#include "platform/dialog.h"
#include "platform/serial_wnd.h"

namespace hx {

class CDispenserDlg : public CDialog {
public:
    static constexpr int kAnswerTimeoutMs = 3000;
    static constexpr uint32_t kWaitSliceMs = 50;
    static constexpr DWORD kWriteTimeoutMs = 100;

    // The libraries of the library kind; either may be missing.
    CDispenserDlg(ID1801Library* dispenserLibrary, ILockLibrary* lockLibrary);
    ~CDispenserDlg() override;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Closes an open port first; false when the port is taken, missing or
    // cannot be set up.
    bool OpenDispenserPort(std::string_view port);
    void CloseDispenserPort();
    bool IsPortOpen() const { return m_serial.IsOpen(); }

    // A command without parameters, sent and waited for: its result.
    int RunCommand(enumDispenserCommand command);
    int WriteCardBlock(uint8_t sector, uint8_t block, const CardBlock& data);
    // The block read is CardBlockRead() when the result is DISPENSER_OK.
    int ReadCardBlock(uint8_t sector, uint8_t block);
    // "Get Status" (serial kind) or the library's status, as a result.
    int DispenserHealth(bool libraryKind);

    const std::string& AnswerText() const { return m_answerText; }
    const CardBlock& CardBlockRead() const { return m_cardBlock; }
    CD1801Dispenser& Library() { return m_library; }
    CDispenserMonitor& Monitor() { return m_monitor; }

private:
    int Exchange(const std::vector<uint8_t>& frame);
    bool SendDispenserFrame(std::span<const uint8_t> frame);
    bool WaitDispenserAnswer();
    bool AnswerArrived();
    void OnSerialMessage(WPARAM wParam);
    void ParseDispenserFrame(std::span<const uint8_t> chunk);
    bool AnswersOutstanding(uint8_t command) const;

    CSerialMFC m_serial;
    CDispenserMonitor m_monitor;
    CD1801Dispenser m_library;
    std::optional<uint8_t> m_outstanding;  // the command waiting for its answer
    int m_receiving = 0;                   // receive handlers under way
    int m_result = 0;
    std::string m_answerText;
    CardBlock m_cardBlock{};
};

}  // namespace hx
