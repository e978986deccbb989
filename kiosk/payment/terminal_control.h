#pragma once
// The card terminal program's control, as the terminal window calls it: a
// request is a set of numbered text fields sent to the terminal program on
// this machine (platform/terminal_frames.h tells how), and its answer is
// read back field by field through the handle the send returned. The
// terminal's progress states, its answers to asynchronous requests and its
// end arrive as events: messages posted to the window given, which then
// calls the On... handlers' data from here.
//
// Nothing here blocks the user interface thread on the network: an
// asynchronous request runs on a thread of its own, and a synchronous one
// too while the caller's loop is pumped until it ends (at most the time-out,
// in seconds). Texts are UTF-8 here and CP949 on the wire.

#include <atomic>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/tcp_stream.h"
#include "platform/window_types.h"

namespace hx {

enum enumTerminalEvent : WPARAM {
    TERMINAL_EXIT = 1,   // OnTermExitAxSmt
    TERMINAL_DATA = 2,   // OnRcvDataAxSmt
    TERMINAL_STATE = 3,  // OnRcvStateAxSmt; the code with TakeState
};

class CDSmtSndRcvVCAT {
public:
    static constexpr size_t kKeptAnswers = 16;

    // Events go to `window` as the registered message EventMessage().
    explicit CDSmtSndRcvVCAT(HWND window);
    ~CDSmtSndRcvVCAT();
    CDSmtSndRcvVCAT(const CDSmtSndRcvVCAT&) = delete;
    CDSmtSndRcvVCAT& operator=(const CDSmtSndRcvVCAT&) = delete;

    static UINT EventMessage();

    void ClearSendData();
    int32_t SetSendData(int16_t field, const std::string& value);
    // The answer's handle (1 and up), or -1 when there was none in time.
    int32_t SndRcvSync(const std::string& address, int32_t port, int32_t timeout);
    // The handle its answer will have (1 and up), or -1 when a request is
    // already under way; the answer is announced by TERMINAL_DATA.
    int16_t SndRcvAsync(const std::string& address, int32_t port, int32_t timeout);
    // Empty for an unknown handle or field.
    std::string GetRcvData(int16_t handle, int16_t field) const;
    // 0 or more with both texts made; -303 working key, -304 master key, -1
    // the bitmap file.
    int32_t BmpToEncSign(const std::string& workingKey, const std::string& keyIndex,
                         const std::string& bitmapFile, std::string& hashData,
                         std::string& signData);
    int32_t GetTermExitCode() const { return m_exitCode; }
    // The oldest progress state not yet taken.
    std::optional<std::string> TakeState();

private:
    using Fields = std::vector<std::pair<int16_t, std::string>>;

    // Sends the request on the connected stream and reads to its answer
    // (states and an exit on the way are posted, `ended` tells the exit);
    // the answer's fields, or none by the time-out.
    std::optional<Fields> Converse(CTcpStream& stream, int32_t timeout, const Fields& request,
                                   bool& ended);
    void KeepAnswer(int32_t handle, Fields answer);
    int32_t NewHandle();
    void Post(enumTerminalEvent event);
    void JoinWorker();

    const HWND m_window;
    Fields m_request;
    mutable std::mutex m_lock;
    std::map<int32_t, Fields> m_answers;  // the last kKeptAnswers, by handle
    int32_t m_nextHandle = 1;
    std::deque<std::string> m_states;
    std::atomic<int32_t> m_exitCode{0};
    std::atomic<bool> m_busy{false};
    std::atomic<bool> m_stopping{false};
    std::thread m_worker;
};

}  // namespace hx
