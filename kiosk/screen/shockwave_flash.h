#pragma once
// The kiosk's side of the customer screen: the movie host that stands in for
// the movie's control, the calls of the movie's ReceiveScript and the movie's
// commands brought to the user interface thread. Also the text rules both
// directions share: how requests are built and how arguments are read.

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "kiosk/support/daily_log.h"
#include "platform/movie_host.h"
#include "platform/wnd.h"

namespace hx {

// The movie's first command; until it arrives the movie cannot take calls.
inline constexpr std::string_view kInitKioskCommand = "InitKiosk";

// The request for one ReceiveScript call: a trailing separator cut (the last
// two characters go when the text ends in "|"), every "<" written as
// "&clamp", and the command and text wrapped in the invoke element.
std::string BuildReceiveScriptRequest(std::string_view command, std::string_view args);

// The values of an argument text: the pieces between "||", empty ones left out.
std::vector<std::string> SplitMovieArguments(std::string_view args);
// Leading blanks skipped, then decimal digits up to the first other
// character; no digits give 0, and values too large for an int give INT_MAX.
int ParseMovieNumber(std::string_view value);
// A room number as the movie shows it: surrounding blanks and every ","
// removed before the number is read ("1,203 " is 1203).
int ParseMovieRoomNumber(std::string_view value);

class CShockwaveflash : public CWnd {
public:
    // Runs on the user interface thread, one command at a time, in the order
    // the pages sent them.
    using FSCommandSink = std::function<void(const std::string& command, const std::string& args)>;
    using LogSink = std::function<void(std::string_view utf8Line)>;

    explicit CShockwaveflash(LogSink log = HXKioskLog);
    ~CShockwaveflash() override;

    // On the user interface thread: creates the window that takes the page's
    // commands and starts the movie host. False (logged) when it is open
    // already or the host cannot start; in the latter case the window is
    // closed again.
    bool Open(const stMovieHostSettings& settings, FSCommandSink onFSCommand);
    // Stops the host first, so no command arrives for a window that is gone.
    void Close();
    bool IsOpen() const { return m_host.IsRunning(); }

    // Calls the movie's ReceiveScript; dropped without error until the movie
    // has sent its first command.
    void ReceiveScript(std::string_view command, std::string_view args);
    bool IsMovieReady() const { return m_movieReady.load(); }
    // A message box on the screen, movie ready or not, from any thread; it
    // waits for a page when none is connected.
    void ShowMessageBox(std::string_view caption, std::string_view text);
    std::uint16_t GetPort() const { return m_host.GetPort(); }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void QueueFSCommand(stPageCommand command);
    void DeliverNextFSCommand();

    const LogSink m_log;
    const UINT m_fsCommandMessage;
    CMovieHost m_host;
    FSCommandSink m_onFSCommand;
    std::atomic<bool> m_movieReady{false};
    std::mutex m_queueLock;
    std::deque<stPageCommand> m_queue;  // copies handed from the host's threads
};

}  // namespace hx
