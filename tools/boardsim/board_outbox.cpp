#include "tools/boardsim/board_outbox.h"

#include <algorithm>

#include "tools/boardsim/board_protocol.h"

namespace hx {

std::optional<enumMisbehaviour> MisbehaviourByName(std::string_view name) {
    if (name == "merge") {
        return enumMisbehaviour::Merge;
    }
    if (name == "bad-bcc") {
        return enumMisbehaviour::BadBcc;
    }
    if (name == "split") {
        return enumMisbehaviour::Split;
    }
    return std::nullopt;
}

void CBoardOutbox::Misbehave(enumMisbehaviour kind, int times) {
    m_pending[static_cast<size_t>(kind)] += times;
}

bool CBoardOutbox::Consume(enumMisbehaviour kind) {
    int& pending = m_pending[static_cast<size_t>(kind)];
    if (pending == 0) {
        return false;
    }
    --pending;
    return true;
}

void CBoardOutbox::Push(std::vector<uint8_t> bytes) {
    // Only a frame has a check byte to spoil.
    if (bytes.size() > 2 && bytes[0] == kBoardFrame && Consume(enumMisbehaviour::BadBcc)) {
        bytes.back() ^= 0xFF;
    }
    if (m_held) {
        bytes.insert(bytes.begin(), m_held->begin(), m_held->end());
        m_held.reset();
    } else if (Consume(enumMisbehaviour::Merge)) {
        m_held = std::move(bytes);
        return;
    }
    Queue(std::move(bytes));
}

void CBoardOutbox::Queue(std::vector<uint8_t> bytes) {
    // A single byte cannot be split; the split waits for a longer write.
    if (bytes.size() < 2 || !Consume(enumMisbehaviour::Split)) {
        m_writes.push_back(std::move(bytes));
        return;
    }
    const auto middle = bytes.begin() + static_cast<ptrdiff_t>(bytes.size() / 2);
    m_writes.emplace_back(bytes.begin(), middle);
    m_writes.emplace_back(middle, bytes.end());
}

std::optional<std::vector<uint8_t>> CBoardOutbox::TakeDue(Clock::time_point now) {
    if (m_writes.empty() || TimeToNext(now) > std::chrono::milliseconds(0)) {
        return std::nullopt;
    }
    std::vector<uint8_t> bytes = std::move(m_writes.front());
    m_writes.pop_front();
    m_lastWrite = now;
    return bytes;
}

std::optional<std::chrono::milliseconds> CBoardOutbox::TimeToNext(Clock::time_point now) const {
    if (m_writes.empty()) {
        return std::nullopt;
    }
    if (!m_lastWrite) {
        return std::chrono::milliseconds(0);
    }
    const auto due = *m_lastWrite + m_gap;
    return std::max(std::chrono::milliseconds(0),
                    std::chrono::ceil<std::chrono::milliseconds>(due - now));
}

}  // namespace hx
