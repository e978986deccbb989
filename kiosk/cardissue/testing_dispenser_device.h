#pragma once
// For tests: the far end of the dispenser's line on a pseudo-terminal, a
// thread that reads each frame the kiosk sends and writes what the test's
// script answers to it (nothing for silence). The frames are kept in order.

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "kiosk/cardissue/dispenser_frame.h"
#include "platform/pseudo_terminal.h"

namespace hx {

using DispenserBytes = std::vector<uint8_t>;

// An answer to `command` with `result` and `data`, its check byte added.
inline DispenserBytes DispenserAnswerBytes(uint8_t command, uint8_t result,
                                           const DispenserBytes& data = {}) {
    DispenserBytes bytes{0x02, 0x20, command, result};
    bytes.insert(bytes.end(), data.begin(), data.end());
    bytes.push_back(XorOf(std::span(bytes).subspan(1)));
    return bytes;
}

class CScriptedDispenserDevice {
public:
    using Script = std::function<std::optional<DispenserBytes>(const DispenserBytes& frame)>;

    CScriptedDispenserDevice(CPseudoTerminal& line, Script script)
        : m_line(line), m_script(std::move(script)), m_thread([this] { Run(); }) {}
    ~CScriptedDispenserDevice() {
        m_running = false;
        m_thread.join();
    }
    CScriptedDispenserDevice(const CScriptedDispenserDevice&) = delete;
    CScriptedDispenserDevice& operator=(const CScriptedDispenserDevice&) = delete;

    // The command bytes of the frames received so far.
    std::vector<uint8_t> Commands() const {
        const std::lock_guard lock(m_lock);
        std::vector<uint8_t> commands;
        for (const DispenserBytes& frame : m_frames) {
            commands.push_back(frame[2]);
        }
        return commands;
    }
    std::vector<DispenserBytes> Frames() const {
        const std::lock_guard lock(m_lock);
        return m_frames;
    }

private:
    static constexpr std::chrono::milliseconds kPoll{20};

    void Run() {
        DispenserBytes received;
        while (m_running) {
            if (!m_line.ReadSome(received, kPoll)) {
                return;
            }
            while (received.size() >= 2 && received.size() >= FrameSize(received)) {
                const DispenserBytes frame(received.begin(),
                                           received.begin() + FrameSize(received));
                received.erase(received.begin(), received.begin() + frame.size());
                Answer(frame);
            }
        }
    }

    // STX, LEN, the LEN - 0x20 bytes from CMD on, ETX and BCC.
    static size_t FrameSize(const DispenserBytes& bytes) { return bytes[1] - 0x20u + 4; }

    void Answer(const DispenserBytes& frame) {
        {
            const std::lock_guard lock(m_lock);
            m_frames.push_back(frame);
        }
        if (const std::optional<DispenserBytes> answer = m_script(frame)) {
            m_line.WriteAll(std::string(answer->begin(), answer->end()));
        }
    }

    CPseudoTerminal& m_line;
    const Script m_script;
    std::atomic<bool> m_running{true};
    mutable std::mutex m_lock;
    std::vector<DispenserBytes> m_frames;
    std::thread m_thread;
};

}  // namespace hx
