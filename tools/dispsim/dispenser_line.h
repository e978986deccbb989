#pragma once
// Runs the dispenser on its pseudo-terminal on a thread of its own: reads the
// kiosk's frames and writes each answer at once (the kiosk waits for it
// before its next command). Console lines come from another thread and are
// carried out under the same lock, so a scripted fault never lands inside a
// command.

#include <atomic>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

#include "platform/pseudo_terminal.h"
#include "tools/common/device_simulator.h"
#include "tools/common/tool_journal.h"
#include "tools/dispsim/dispenser_console.h"

namespace hx {

class CDispenserLine : public IDeviceLine {
public:
    CDispenserLine(CPseudoTerminal& terminal, int cards, CToolJournal& journal);
    ~CDispenserLine() override;
    CDispenserLine(const CDispenserLine&) = delete;
    CDispenserLine& operator=(const CDispenserLine&) = delete;

    void Start() override;
    void Stop() override;
    std::string Execute(std::string_view line) override;
    bool QuitAsked() override;

private:
    void Run();
    // Under the lock.
    void TakePiece(const stFramePiece& piece);

    CPseudoTerminal& m_terminal;
    CToolJournal& m_journal;
    std::mutex m_mutex;
    CCardDispenser m_dispenser;
    CDispenserConsole m_console;
    CDispenserFrameReader m_reader;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

}  // namespace hx
