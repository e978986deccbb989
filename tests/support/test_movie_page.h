#pragma once
// A stand-in for the customer screen's page in tests: a plain WebSocket client
// on loopback that sends page commands and reads the kiosk's invoke frames,
// and a one-shot HTTP GET that sends the request target byte for byte. Waits
// are bounded and generous; they only stop a broken test from hanging.

#include <cstdint>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/tcp_stream.h"

namespace hx {

struct stHttpAnswer {
    int status = 0;  // 0: no answer
    std::string body;
};

// GET with the target sent exactly as given ("/%2e%2e/x" stays encoded).
stHttpAnswer HttpGet(std::uint16_t port, std::string_view target);

class CTestMoviePage {
public:
    CTestMoviePage() = default;
    CTestMoviePage(const CTestMoviePage&) = delete;
    CTestMoviePage& operator=(const CTestMoviePage&) = delete;

    // Opens ws://127.0.0.1:port/ws (closing what was open before); an empty
    // origin sends no Origin header.
    bool Connect(std::uint16_t port, std::string_view origin = {});

    // One frame as the browser would send it: masked, with the given first
    // byte (0x81 is a whole text frame).
    bool SendFrame(std::uint8_t firstByte, std::string_view payload);
    bool SendText(std::string_view text) { return SendFrame(0x81, text); }
    bool SendCommand(std::string_view name, std::string_view args);

    // The next text frame from the kiosk; nullopt when the connection ended
    // or nothing came in time.
    std::optional<std::string> NextText();

    // The request of the next invoke frame; nullopt when the connection ended,
    // nothing came in time or a frame is no JSON object. Message boxes met on
    // the way are kept for NextMessageBox.
    std::optional<std::string> NextInvoke();

    // The next message box ({"caption", "text"}), kept or still to come;
    // invoke frames on the way are skipped.
    std::optional<nlohmann::json> NextMessageBox();

    void Close() { m_connection.Close(); }

private:
    std::optional<nlohmann::json> NextFrame();
    // Takes one whole (unmasked, server-sent) frame out of the buffer.
    std::optional<std::pair<int, std::string>> TakeFrame();

    CTcpStream m_connection;
    std::string m_buffer;
    std::vector<nlohmann::json> m_messageBoxes;
};

}  // namespace hx
