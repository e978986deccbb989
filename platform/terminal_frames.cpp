#include "platform/terminal_frames.h"

namespace hx {

namespace {

void PutBig(std::vector<uint8_t>& out, uint32_t value, int bytes) {
    for (int shift = (bytes - 1) * 8; shift >= 0; shift -= 8) {
        out.push_back(static_cast<uint8_t>(value >> shift));
    }
}

// A reader of the body that never goes past its end.
class CBodyReader {
public:
    explicit CBodyReader(std::span<const uint8_t> body) : m_body(body) {}

    std::optional<uint32_t> Big(int bytes) {
        if (m_body.size() - m_at < static_cast<size_t>(bytes)) {
            return std::nullopt;
        }
        uint32_t value = 0;
        for (int i = 0; i < bytes; ++i) {
            value = (value << 8) | m_body[m_at++];
        }
        return value;
    }
    std::optional<std::string> Text(size_t length) {
        if (m_body.size() - m_at < length) {
            return std::nullopt;
        }
        std::string text(m_body.begin() + static_cast<ptrdiff_t>(m_at),
                         m_body.begin() + static_cast<ptrdiff_t>(m_at + length));
        m_at += length;
        return text;
    }
    bool AtEnd() const { return m_at == m_body.size(); }

private:
    std::span<const uint8_t> m_body;
    size_t m_at = 0;
};

bool ReadFields(CBodyReader& reader, std::vector<std::pair<int16_t, std::string>>& fields) {
    const std::optional<uint32_t> count = reader.Big(2);
    for (uint32_t i = 0; count && i < *count; ++i) {
        const std::optional<uint32_t> number = reader.Big(2);
        const std::optional<uint32_t> length = number ? reader.Big(4) : std::nullopt;
        const std::optional<std::string> text = length ? reader.Text(*length) : std::nullopt;
        if (!text) {
            return false;
        }
        fields.emplace_back(static_cast<int16_t>(*number), *text);
    }
    return count.has_value();
}

bool ReadBody(enumTerminalFrame kind, std::span<const uint8_t> body, stTerminalFrame& frame) {
    CBodyReader reader(body);
    frame.kind = kind;
    switch (kind) {
        case enumTerminalFrame::Request:
        case enumTerminalFrame::Answer:
            return ReadFields(reader, frame.fields) && reader.AtEnd();
        case enumTerminalFrame::State:
            frame.state = *reader.Text(body.size());
            return true;
        case enumTerminalFrame::Exit: {
            const std::optional<uint32_t> code = reader.Big(4);
            frame.exitCode = code ? static_cast<int32_t>(*code) : 0;
            return code && reader.AtEnd();
        }
    }
    return false;
}

bool IsKind(uint8_t byte) {
    return byte == 'Q' || byte == 'A' || byte == 'S' || byte == 'X';
}

}  // namespace

std::vector<uint8_t> EncodeTerminalFrame(const stTerminalFrame& frame) {
    std::vector<uint8_t> body;
    if (frame.kind == enumTerminalFrame::Request || frame.kind == enumTerminalFrame::Answer) {
        PutBig(body, static_cast<uint32_t>(frame.fields.size()), 2);
        for (const auto& [number, text] : frame.fields) {
            PutBig(body, static_cast<uint16_t>(number), 2);
            PutBig(body, static_cast<uint32_t>(text.size()), 4);
            body.insert(body.end(), text.begin(), text.end());
        }
    } else if (frame.kind == enumTerminalFrame::State) {
        body.assign(frame.state.begin(), frame.state.end());
    } else {
        PutBig(body, static_cast<uint32_t>(frame.exitCode), 4);
    }
    std::vector<uint8_t> out;
    PutBig(out, static_cast<uint32_t>(body.size() + 1), 4);
    out.push_back(static_cast<uint8_t>(frame.kind));
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

stTerminalFrameRead DecodeTerminalFrame(std::span<const uint8_t> bytes) {
    stTerminalFrameRead read;
    if (bytes.size() < kTerminalFrameHeader) {
        return read;
    }
    const uint32_t length = (uint32_t{bytes[0]} << 24) | (uint32_t{bytes[1]} << 16) |
                            (uint32_t{bytes[2]} << 8) | bytes[3];
    if (length == 0 || length > kMaxTerminalFrame || !IsKind(bytes[4])) {
        read.status = stTerminalFrameRead::Invalid;
        return read;
    }
    if (bytes.size() < 4 + size_t{length}) {
        return read;
    }
    const bool valid = ReadBody(static_cast<enumTerminalFrame>(bytes[4]),
                                bytes.subspan(kTerminalFrameHeader, length - 1), read.frame);
    read.status = valid ? stTerminalFrameRead::Complete : stTerminalFrameRead::Invalid;
    read.consumed = valid ? 4 + size_t{length} : 0;
    return read;
}

}  // namespace hx
