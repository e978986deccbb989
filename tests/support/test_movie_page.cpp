#include "tests/support/test_movie_page.h"

#include <chrono>

#include "tests/support/wait_until.h"

namespace hx {

namespace {

std::chrono::steady_clock::time_point Deadline() {
    return std::chrono::steady_clock::now() + kTestPatience;
}

void AppendBigEndian(std::string& out, std::uint64_t value, int bytes) {
    for (int shift = (bytes - 1) * 8; shift >= 0; shift -= 8) {
        out.push_back(static_cast<char>((value >> shift) & 0xff));
    }
}

}  // namespace

stHttpAnswer HttpGet(std::uint16_t port, std::string_view target) {
    stHttpAnswer answer;
    CTcpStream connection;
    if (!connection.Connect("127.0.0.1", port)) {
        return answer;
    }
    std::string request = "GET ";
    request.append(target).append(" HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n");
    std::string reply;
    if (connection.SendAll(request)) {
        const auto deadline = Deadline();
        while (connection.ReceiveSome(reply, deadline)) {
        }
    }
    const std::size_t headerEnd = reply.find("\r\n\r\n");
    if (reply.starts_with("HTTP/1.") && reply.size() > 12 && headerEnd != std::string::npos) {
        answer.status = std::stoi(reply.substr(9, 3));
        answer.body = reply.substr(headerEnd + 4);
    }
    return answer;
}

bool CTestMoviePage::Connect(std::uint16_t port, std::string_view origin) {
    Close();
    m_buffer.clear();
    m_messageBoxes.clear();
    if (!m_connection.Connect("127.0.0.1", port)) {
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
    if (!m_connection.SendAll(request)) {
        return false;
    }
    const auto deadline = Deadline();
    while (m_buffer.find("\r\n\r\n") == std::string::npos) {
        if (!m_connection.ReceiveSome(m_buffer, deadline)) {
            return false;
        }
    }
    const std::size_t headerEnd = m_buffer.find("\r\n\r\n") + 4;
    const bool upgraded = m_buffer.starts_with("HTTP/1.1 101");
    m_buffer.erase(0, headerEnd);
    return upgraded;
}

bool CTestMoviePage::SendFrame(std::uint8_t firstByte, std::string_view payload) {
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
    return m_connection.SendAll(frame);
}

bool CTestMoviePage::SendCommand(std::string_view name, std::string_view args) {
    const nlohmann::json frame = {{"fscommand", std::string(name)}, {"args", std::string(args)}};
    return SendText(frame.dump());
}

std::optional<std::string> CTestMoviePage::NextText() {
    const auto deadline = Deadline();
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
        if (!m_connection.ReceiveSome(m_buffer, deadline)) {
            return std::nullopt;
        }
    }
}

std::optional<std::string> CTestMoviePage::NextInvoke() {
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

std::optional<nlohmann::json> CTestMoviePage::NextMessageBox() {
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

std::optional<nlohmann::json> CTestMoviePage::NextFrame() {
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

std::optional<std::pair<int, std::string>> CTestMoviePage::TakeFrame() {
    if (m_buffer.size() < 2) {
        return std::nullopt;
    }
    const auto byteAt = [this](std::size_t i) { return static_cast<std::uint8_t>(m_buffer[i]); };
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

}  // namespace hx
