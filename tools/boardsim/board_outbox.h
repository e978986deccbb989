#pragma once
// What the board has to write, one write at a time with a gap between
// writes: the PC parses each read by itself, so answers written back to back
// would reach it as one chunk and all but the first would be lost. The
// console can make the next writes misbehave: two merged into one write, a
// frame with a wrong check byte, a write split in two.

#include <array>
#include <chrono>
#include <cstdint>
#include <deque>
#include <optional>
#include <string_view>
#include <vector>

namespace hx {

enum class enumMisbehaviour { Merge, BadBcc, Split };

// "merge", "bad-bcc", "split"; nullopt for another name.
std::optional<enumMisbehaviour> MisbehaviourByName(std::string_view name);

class CBoardOutbox {
public:
    using Clock = std::chrono::steady_clock;

    explicit CBoardOutbox(std::chrono::milliseconds gap) : m_gap(gap) {}

    void Push(std::vector<uint8_t> bytes);
    // The next `times` writes it applies to misbehave this way.
    void Misbehave(enumMisbehaviour kind, int times);

    // The next write once the gap since the last one has passed at `now`;
    // taking it counts as writing it then.
    std::optional<std::vector<uint8_t>> TakeDue(Clock::time_point now);
    // How long from `now` until a write is due; nullopt when none waits.
    std::optional<std::chrono::milliseconds> TimeToNext(Clock::time_point now) const;

private:
    // Takes one pending misbehaviour of that kind.
    bool Consume(enumMisbehaviour kind);
    void Queue(std::vector<uint8_t> bytes);

    std::chrono::milliseconds m_gap;
    std::deque<std::vector<uint8_t>> m_writes;
    std::optional<std::vector<uint8_t>> m_held;  // the first of two writes to merge
    std::array<int, 3> m_pending{};
    std::optional<Clock::time_point> m_lastWrite;
};

}  // namespace hx
