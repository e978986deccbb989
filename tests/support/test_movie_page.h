#pragma once
// A stand-in for the customer screen's page in tests: a plain WebSocket client
// on loopback that sends page commands and reads the kiosk's invoke frames,
// and a one-shot HTTP GET that sends the request target byte for byte. Waits
// are bounded and generous; they only stop a broken test from hanging.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hx {

namespace movie_page_detail {

inline constexpr std::chrono::milliseconds kPatience{10000};

inline int ConnectLoopback(std::uint16_t port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return -1;
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

inline bool SendAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t sent = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(sent));
    }
    return true;
}

// Appends what arrives before the deadline; false at the deadline or when the peer closed.
inline bool ReceiveMore(int fd, std::string& buffer,
                        std::chrono::steady_clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    pollfd waiting{fd, POLLIN, 0};
    if (left.count() <= 0 || ::poll(&waiting, 1, static_cast<int>(left.count())) <= 0) {
        return false;
    }
    char chunk[4096];
    const ssize_t got = ::recv(fd, chunk, sizeof chunk, 0);
    if (got <= 0) {
        return false;
    }
    buffer.append(chunk, static_cast<std::size_t>(got));
    return true;
}

}  // namespace movie_page_detail

struct stHttpAnswer {
    int status = 0;  // 0: no answer
    std::string body;
};

// GET with the target sent exactly as given ("/%2e%2e/x" stays encoded).
inline stHttpAnswer HttpGet(std::uint16_t port, std::string_view target) {
    using namespace movie_page_detail;
    stHttpAnswer answer;
    const int fd = ConnectLoopback(port);
    if (fd < 0) {
        return answer;
    }
    std::string request = "GET ";
    request.append(target).append(" HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n");
    std::string reply;
    if (SendAll(fd, request)) {
        const auto deadline = std::chrono::steady_clock::now() + kPatience;
        while (ReceiveMore(fd, reply, deadline)) {
        }
    }
    ::close(fd);
    const std::size_t headerEnd = reply.find("\r\n\r\n");
    if (reply.starts_with("HTTP/1.") && reply.size() > 12 && headerEnd != std::string::npos) {
        answer.status = std::stoi(reply.substr(9, 3));
        answer.body = reply.substr(headerEnd + 4);
    }
    return answer;
}

class CTestMoviePage {
public:
    CTestMoviePage() = default;
    ~CTestMoviePage() { Close(); }
    CTestMoviePage(const CTestMoviePage&) = delete;
    CTestMoviePage& operator=(const CTestMoviePage&) = delete;

    // Opens ws://127.0.0.1:port/ws; an empty origin sends no Origin header.
    bool Connect(std::uint16_t port, std::string_view origin = {}) {
        using namespace movie_page_detail;
        m_fd = ConnectLoopback(port);
        if (m_fd < 0) {
            return false;
        }
        std::string request =
            "GET /ws HTTP/1.1\r\nHost: 127.0.0.1\r\nUpgrade: websocket\r\n"
            "Connection: Upgrade\r\nSec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\n"
            "Sec-WebSocket-Version: 13\r\n";
        if (!origin.empty()) {
            request.append("Origin: ").append(origin).append("\r\n");
        }
        request.append("\r\n");
        if (!SendAll(m_fd, request)) {
            return false;
        }
        const auto deadline = std::chrono::steady_clock::now() + kPatience;
        while (m_buffer.find("\r\n\r\n") == std::string::npos) {
            if (!ReceiveMore(m_fd, m_buffer, deadline)) {
                return false;
            }
        }
        const std::size_t headerEnd = m_buffer.find("\r\n\r\n") + 4;
        const bool upgraded = m_buffer.starts_with("HTTP/1.1 101");
        m_buffer.erase(0, headerEnd);
        return upgraded;
    }

    // One frame as the browser would send it: masked, with the given first
    // byte (0x81 is a whole text frame).
    bool SendFrame(std::uint8_t firstByte, std::string_view payload) {
        std::string frame(1, static_cast<char>(firstByte));
        const std::uint64_t length = payload.size();
        if (length < 126) {
            frame.push_back(static_cast<char>(0x80 | length));
        } else if (length < 65536) {
            frame.push_back(static_cast<char>(0x80 | 126));
            AppendBigEndian(frame, length, 2);
        } else {
            frame.push_back(static_cast<char>(0x80 | 127));
            AppendBigEndian(frame, length, 8);
        }
        const char mask[4] = {0x11, 0x22, 0x33, 0x44};
        frame.append(mask, 4);
        for (std::size_t i = 0; i < payload.size(); ++i) {
            frame.push_back(static_cast<char>(payload[i] ^ mask[i % 4]));
        }
        return movie_page_detail::SendAll(m_fd, frame);
    }

    bool SendText(std::string_view text) { return SendFrame(0x81, text); }

    bool SendCommand(std::string_view name, std::string_view args) {
        const nlohmann::json frame = {{"fscommand", std::string(name)},
                                      {"args", std::string(args)}};
        return SendText(frame.dump());
    }

    // The next text frame from the kiosk; nullopt when the connection ended
    // or nothing came in time.
    std::optional<std::string> NextText() {
        const auto deadline = std::chrono::steady_clock::now() + movie_page_detail::kPatience;
        while (true) {
            if (std::optional<std::pair<int, std::string>> frame = TakeFrame()) {
                if (frame->first == 0x1) {
                    return frame->second;
                }
                if (frame->first == 0x8) {
                    return std::nullopt;
                }
                continue;  // ping or pong
            }
            if (!movie_page_detail::ReceiveMore(m_fd, m_buffer, deadline)) {
                return std::nullopt;
            }
        }
    }

    // The request of the next invoke frame; nullopt when the connection ended,
    // nothing came in time or a frame is no JSON object. Message boxes met on
    // the way are kept for NextMessageBox.
    std::optional<std::string> NextInvoke() {
        while (const std::optional<nlohmann::json> frame = NextFrame()) {
            if (frame->contains("invoke") && (*frame)["invoke"].is_string()) {
                return (*frame)["invoke"].get<std::string>();
            }
            if (!frame->contains("messageBox")) {
                return std::nullopt;
            }
            m_messageBoxes.push_back((*frame)["messageBox"]);
        }
        return std::nullopt;
    }

    // The next message box ({"caption", "text"}), kept or still to come;
    // invoke frames on the way are skipped.
    std::optional<nlohmann::json> NextMessageBox() {
        while (m_messageBoxes.empty()) {
            const std::optional<nlohmann::json> frame = NextFrame();
            if (!frame) {
                return std::nullopt;
            }
            if (frame->contains("messageBox")) {
                m_messageBoxes.push_back((*frame)["messageBox"]);
            }
        }
        nlohmann::json box = m_messageBoxes.front();
        m_messageBoxes.erase(m_messageBoxes.begin());
        return box;
    }

    void Close() {
        if (m_fd >= 0) {
            ::close(m_fd);
            m_fd = -1;
        }
    }

private:
    std::optional<nlohmann::json> NextFrame() {
        const std::optional<std::string> text = NextText();
        if (!text) {
            return std::nullopt;
        }
        nlohmann::json frame = nlohmann::json::parse(*text, nullptr, false);
        if (!frame.is_object()) {
            return std::nullopt;
        }
        return frame;
    }

    static void AppendBigEndian(std::string& out, std::uint64_t value, int bytes) {
        for (int shift = (bytes - 1) * 8; shift >= 0; shift -= 8) {
            out.push_back(static_cast<char>((value >> shift) & 0xff));
        }
    }

    // Takes one whole (unmasked, server-sent) frame out of the buffer.
    std::optional<std::pair<int, std::string>> TakeFrame() {
        if (m_buffer.size() < 2) {
            return std::nullopt;
        }
        const auto byteAt = [this](std::size_t i) {
            return static_cast<std::uint8_t>(m_buffer[i]);
        };
        std::uint64_t length = byteAt(1) & 0x7f;
        std::size_t header = 2;
        if (length >= 126) {
            const std::size_t extra = length == 126 ? 2 : 8;
            if (m_buffer.size() < header + extra) {
                return std::nullopt;
            }
            length = 0;
            for (std::size_t i = 0; i < extra; ++i) {
                length = (length << 8) | byteAt(header + i);
            }
            header += extra;
        }
        if (m_buffer.size() < header + length) {
            return std::nullopt;
        }
        std::pair<int, std::string> frame{byteAt(0) & 0x0f, m_buffer.substr(header, length)};
        m_buffer.erase(0, header + length);
        return frame;
    }

    int m_fd = -1;
    std::string m_buffer;
    std::vector<nlohmann::json> m_messageBoxes;
};

}  // namespace hx
