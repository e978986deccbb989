#include "kiosk/payment/terminal_control.h"

#include <chrono>
#include <cstdio>

#include "platform/cp949.h"
#include "platform/file_bytes.h"
#include "platform/message_loop.h"
#include "platform/registered_messages.h"
#include "platform/terminal_frames.h"

namespace hx {

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kSlice = std::chrono::milliseconds(100);
constexpr uint32_t kPumpSliceMs = 20;
constexpr int32_t kNoAnswer = -1;
constexpr int16_t kLastHandle = 32767;
constexpr size_t kWorkingKeyLength = 16;
constexpr size_t kSignedBytes = 256;
constexpr int32_t kWorkingKeyError = -303;
constexpr int32_t kMasterKeyError = -304;
constexpr int32_t kFileError = -1;

std::string Hex(const std::vector<uint8_t>& bytes) {
    std::string text;
    for (const uint8_t byte : bytes) {
        char pair[3];
        std::snprintf(pair, sizeof pair, "%02X", byte);
        text += pair;
    }
    return text;
}

}  // namespace

CDSmtSndRcvVCAT::CDSmtSndRcvVCAT(HWND window) : m_window(window) {}

CDSmtSndRcvVCAT::~CDSmtSndRcvVCAT() {
    m_stopping = true;
    JoinWorker();
}

UINT CDSmtSndRcvVCAT::EventMessage() {
    static const UINT message = RegisterWindowMessage("HxTerminalControlEvent");
    return message;
}

void CDSmtSndRcvVCAT::ClearSendData() {
    m_request.clear();
}

int32_t CDSmtSndRcvVCAT::SetSendData(int16_t field, const std::string& value) {
    m_request.emplace_back(field, value);
    return 0;
}

// The exchange runs on a thread while this one pumps its loop.
int32_t CDSmtSndRcvVCAT::SndRcvSync(const std::string& address, int32_t port, int32_t timeout) {
    if (m_busy.exchange(true)) {
        return kNoAnswer;
    }
    JoinWorker();
    CTcpStream stream;
    std::optional<Fields> answer;
    std::atomic<bool> done{false};
    if (stream.Connect(address, static_cast<uint16_t>(port))) {
        std::thread worker([&] {
            bool ended = false;
            answer = Converse(stream, timeout, m_request, ended);
            done = true;
        });
        while (!done) {
            PumpMessagesFor(kPumpSliceMs);
        }
        worker.join();
    }
    m_busy = false;
    if (!answer) {
        return kNoAnswer;
    }
    const int32_t handle = NewHandle();
    KeepAnswer(handle, std::move(*answer));
    return handle;
}

// Connecting on loopback is immediate, so a terminal program that is not
// there is known before the handle is given.
int16_t CDSmtSndRcvVCAT::SndRcvAsync(const std::string& address, int32_t port, int32_t timeout) {
    if (m_busy.exchange(true)) {
        return kNoAnswer;
    }
    JoinWorker();
    auto stream = std::make_shared<CTcpStream>();
    if (!stream->Connect(address, static_cast<uint16_t>(port))) {
        m_busy = false;
        return kNoAnswer;
    }
    const int32_t handle = NewHandle();
    m_worker = std::thread([this, stream, timeout, handle, request = m_request] {
        bool ended = false;
        std::optional<Fields> answer = Converse(*stream, timeout, request, ended);
        if (answer) {
            KeepAnswer(handle, std::move(*answer));
            Post(TERMINAL_DATA);
        } else if (!ended && !m_stopping) {
            m_exitCode = kNoAnswer;  // no answer in time: the payment cannot go on
            Post(TERMINAL_EXIT);
        }
        m_busy = false;
    });
    return static_cast<int16_t>(handle);
}

std::optional<CDSmtSndRcvVCAT::Fields> CDSmtSndRcvVCAT::Converse(CTcpStream& stream,
                                                                 int32_t timeout,
                                                                 const Fields& request,
                                                                 bool& ended) {
    stTerminalFrame frame{enumTerminalFrame::Request, {}, {}, 0};
    for (const auto& [number, text] : request) {
        frame.fields.emplace_back(number, Cp949FromUtf8(text));
    }
    if (!stream.SendAll(EncodeTerminalFrame(frame))) {
        return std::nullopt;
    }
    const Clock::time_point end = Clock::now() + std::chrono::seconds(timeout);
    std::string received;
    while (!m_stopping && Clock::now() < end) {
        const stTerminalFrameRead read = DecodeTerminalFrame(
            std::span(reinterpret_cast<const uint8_t*>(received.data()), received.size()));
        if (read.status == stTerminalFrameRead::Invalid) {
            return std::nullopt;
        }
        if (read.status == stTerminalFrameRead::Incomplete) {
            if (!stream.ReceiveSome(received, std::min(end, Clock::now() + kSlice)) &&
                !stream.IsOpen()) {
                return std::nullopt;
            }
            continue;
        }
        received.erase(0, read.consumed);
        switch (read.frame.kind) {
            case enumTerminalFrame::Answer: {
                Fields answer;
                for (const auto& [number, text] : read.frame.fields) {
                    answer.emplace_back(number, Utf8FromCp949(text));
                }
                return answer;
            }
            case enumTerminalFrame::State: {
                const std::lock_guard lock(m_lock);
                m_states.push_back(Utf8FromCp949(read.frame.state));
            }
                Post(TERMINAL_STATE);
                break;
            case enumTerminalFrame::Exit:
                m_exitCode = read.frame.exitCode;
                ended = true;
                Post(TERMINAL_EXIT);
                return std::nullopt;
            case enumTerminalFrame::Request:
                return std::nullopt;
        }
    }
    return std::nullopt;
}

std::string CDSmtSndRcvVCAT::GetRcvData(int16_t handle, int16_t field) const {
    const std::lock_guard lock(m_lock);
    const auto answer = m_answers.find(handle);
    if (answer == m_answers.end()) {
        return {};
    }
    for (const auto& [number, text] : answer->second) {
        if (number == field) {
            return text;
        }
    }
    return {};
}

// Our stand-in for the terminal maker's signature encryption: it checks
// what the maker's would and makes texts of the same kind.
int32_t CDSmtSndRcvVCAT::BmpToEncSign(const std::string& workingKey, const std::string& keyIndex,
                                      const std::string& bitmapFile, std::string& hashData,
                                      std::string& signData) {
    if (workingKey.size() != kWorkingKeyLength) {
        return kWorkingKeyError;
    }
    if (keyIndex.size() != 1 || keyIndex[0] < '0' || keyIndex[0] > '9') {
        return kMasterKeyError;
    }
    const std::optional<std::string> bitmap = ReadFileIfPresent(bitmapFile);
    if (!bitmap || bitmap->empty()) {
        return kFileError;
    }
    std::vector<uint8_t> signature;
    uint64_t hash = 1469598103934665603ULL;  // FNV-1a over the whole bitmap
    for (size_t i = 0; i < bitmap->size(); ++i) {
        const auto byte = static_cast<uint8_t>((*bitmap)[i]);
        hash = (hash ^ byte) * 1099511628211ULL;
        if (i < kSignedBytes) {
            signature.push_back(byte ^ static_cast<uint8_t>(workingKey[i % kWorkingKeyLength]));
        }
    }
    std::vector<uint8_t> hashBytes;
    for (int shift = 56; shift >= 0; shift -= 8) {
        hashBytes.push_back(static_cast<uint8_t>(hash >> shift));
    }
    hashData = Hex(hashBytes);
    signData = Hex(signature);
    return 0;
}

std::optional<std::string> CDSmtSndRcvVCAT::TakeState() {
    const std::lock_guard lock(m_lock);
    if (m_states.empty()) {
        return std::nullopt;
    }
    std::string state = std::move(m_states.front());
    m_states.pop_front();
    return state;
}

int32_t CDSmtSndRcvVCAT::NewHandle() {
    const std::lock_guard lock(m_lock);
    const int32_t handle = m_nextHandle;
    m_nextHandle = m_nextHandle == kLastHandle ? 1 : m_nextHandle + 1;
    return handle;
}

void CDSmtSndRcvVCAT::KeepAnswer(int32_t handle, Fields answer) {
    const std::lock_guard lock(m_lock);
    m_answers[handle] = std::move(answer);
    while (m_answers.size() > kKeptAnswers) {
        m_answers.erase(m_answers.begin());
    }
}

void CDSmtSndRcvVCAT::Post(enumTerminalEvent event) {
    PostMessage(m_window, EventMessage(), event, 0);
}

void CDSmtSndRcvVCAT::JoinWorker() {
    if (m_worker.joinable()) {
        m_worker.join();
    }
}

}  // namespace hx
