#include "kiosk/screen/shockwave_flash.h"

#include <climits>
#include <utility>

#include "kiosk/support/outside_text.h"
#include "platform/message_loop.h"

namespace hx {

namespace {

constexpr std::string_view kSeparator = "||";
constexpr std::string_view kBlanks = " \t\n\v\f\r";

bool IsContinuationByte(char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

// Characters, not bytes: cutting inside a Korean character would leave the
// movie a broken text.
void DropLastCharacters(std::string& text, int count) {
    for (int i = 0; i < count && !text.empty(); ++i) {
        for (int trail = 0; trail < 3 && text.size() > 1 && IsContinuationByte(text.back());
             ++trail) {
            text.pop_back();
        }
        text.pop_back();
    }
}

void ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
}

std::string_view TrimBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

}  // namespace

std::string BuildReceiveScriptRequest(std::string_view command, std::string_view args) {
    std::string text(args);
    if (!text.empty() && text.back() == '|') {
        DropLastCharacters(text, 2);
    }
    // The movie turns "&clamp" back into "<"; a bare "<" would break its XML.
    ReplaceAll(text, "<", "&clamp");
    std::string request = R"(<invoke name="ReceiveScript" returntype="xml"><arguments><string>)";
    request.append(command).append(";").append(text).append("</string></arguments></invoke>");
    return request;
}

std::vector<std::string> SplitMovieArguments(std::string_view args) {
    std::vector<std::string> values;
    while (true) {
        const std::size_t separator = args.find(kSeparator);
        const std::string_view piece = args.substr(0, separator);
        if (!piece.empty()) {
            values.emplace_back(piece);
        }
        if (separator == std::string_view::npos) {
            return values;
        }
        args.remove_prefix(separator + kSeparator.size());
    }
}

int ParseMovieNumber(std::string_view value) {
    const std::size_t first = value.find_first_not_of(kBlanks);
    long long number = 0;
    for (std::size_t i = first; i < value.size() && value[i] >= '0' && value[i] <= '9'; ++i) {
        number = number * 10 + (value[i] - '0');
        if (number > INT_MAX) {
            return INT_MAX;
        }
    }
    return static_cast<int>(number);
}

int ParseMovieRoomNumber(std::string_view value) {
    std::string digits(TrimBlanks(value));
    std::erase(digits, ',');
    return ParseMovieNumber(digits);
}

CShockwaveflash::CShockwaveflash(LogSink log)
    : m_log(std::move(log)), m_fsCommandMessage(RegisterWindowMessage("HxKiosk.Movie.FSCommand")) {
    // The host's lines quote request paths and headers, which any local
    // program can make as long as it likes.
    m_host.SetLogSink([log = m_log](std::string_view line) { log(CutOutsideText(line)); });
    m_host.SetCommandHandler([this](stPageCommand command) { QueueFSCommand(std::move(command)); });
}

CShockwaveflash::~CShockwaveflash() {
    Close();
}

bool CShockwaveflash::Open(const stMovieHostSettings& settings, FSCommandSink onFSCommand) {
    if (m_host.IsRunning()) {
        m_log("화면 창: 이미 열려 있음");
        return false;
    }
    m_onFSCommand = std::move(onFSCommand);
    if (GetSafeHwnd() == 0 && !Create()) {
        m_log("화면 창: 창을 만들 수 없음");
        return false;
    }
    if (!m_host.Start(settings)) {
        DestroyWindow();
        return false;
    }
    return true;
}

void CShockwaveflash::Close() {
    m_host.Stop();
    DestroyWindow();
    std::lock_guard lock(m_queueLock);
    m_queue.clear();
}

void CShockwaveflash::ReceiveScript(std::string_view command, std::string_view args) {
    if (!m_movieReady.load()) {
        return;
    }
    m_host.CallFunction(BuildReceiveScriptRequest(command, args));
}

void CShockwaveflash::ShowMessageBox(std::string_view caption, std::string_view text) {
    m_host.ShowMessageBox(caption, text);
}

LRESULT CShockwaveflash::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == m_fsCommandMessage) {
        DeliverNextFSCommand();
        return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

// On one of the host's threads. Each queued command has its own posted
// message, so a handler that pumps messages still sees them in order.
void CShockwaveflash::QueueFSCommand(stPageCommand command) {
    std::lock_guard lock(m_queueLock);
    m_queue.push_back(std::move(command));
    if (!PostMessage(m_fsCommandMessage)) {
        m_log("화면 창: 창이 메시지를 받지 않아 화면 명령 버림");
        m_queue.pop_back();
    }
}

void CShockwaveflash::DeliverNextFSCommand() {
    stPageCommand command;
    {
        std::lock_guard lock(m_queueLock);
        if (m_queue.empty()) {
            return;
        }
        command = std::move(m_queue.front());
        m_queue.pop_front();
    }
    if (command.command == kInitKioskCommand) {
        m_movieReady = true;
    }
    if (m_onFSCommand) {
        m_onFSCommand(command.command, command.args);
    }
}

}  // namespace hx
