#pragma once
// For tests: the card terminal program's side of the link, in process. It
// takes one connection after another on a free loopback port; on each it
// reads the request and answers with that connection's frames.

#include <functional>
#include <mutex>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "platform/tcp_listener.h"
#include "platform/terminal_frames.h"
#include "tests/support/wait_until.h"

namespace hx {

using TerminalFrames = std::vector<stTerminalFrame>;

inline stTerminalFrame Answer(std::vector<std::pair<int16_t, std::string>> fields) {
    return {enumTerminalFrame::Answer, std::move(fields), {}, 0};
}

class CTestTerminal {
public:
    // Runs on the terminal's thread after a request was read, before the
    // reply: a test holds the terminal there until it is ready for the answer.
    using BeforeReply = std::function<void(size_t connection)>;

    // One list of frames per connection, in order.
    explicit CTestTerminal(std::vector<TerminalFrames> replies, BeforeReply beforeReply = {})
        : m_replies(std::move(replies)), m_beforeReply(std::move(beforeReply)) {
        m_listening = m_listener.Listen("127.0.0.1", 0);
        m_thread = std::thread([this] { Serve(); });
    }
    ~CTestTerminal() { m_thread.join(); }
    CTestTerminal(const CTestTerminal&) = delete;
    CTestTerminal& operator=(const CTestTerminal&) = delete;

    std::uint16_t Port() const { return m_listener.Port(); }
    std::vector<stTerminalFrame> Requests() const {
        const std::lock_guard lock(m_lock);
        return m_requests;
    }

private:
    void Serve() {
        for (size_t connection = 0; connection < m_replies.size(); ++connection) {
            const TerminalFrames& replies = m_replies[connection];
            CTcpStream stream;
            const auto deadline = std::chrono::steady_clock::now() + kTestPatience;
            if (!m_listening || !m_listener.Accept(stream, deadline)) {
                return;
            }
            std::string bytes;
            stTerminalFrameRead read;
            while ((read = DecodeTerminalFrame(
                        std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size())))
                           .status == stTerminalFrameRead::Incomplete &&
                   stream.ReceiveSome(bytes, deadline)) {
            }
            {
                const std::lock_guard lock(m_lock);
                m_requests.push_back(read.frame);
            }
            if (m_beforeReply) {
                m_beforeReply(connection);
            }
            for (const stTerminalFrame& reply : replies) {
                stream.SendAll(EncodeTerminalFrame(reply));
            }
        }
    }

    const std::vector<TerminalFrames> m_replies;
    const BeforeReply m_beforeReply;
    CTcpListener m_listener;
    bool m_listening = false;
    mutable std::mutex m_lock;
    std::vector<stTerminalFrame> m_requests;
    std::thread m_thread;
};

}  // namespace hx
