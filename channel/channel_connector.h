#pragma once
// One connect attempt at a time, on a thread of its own: finding the server,
// the TCP connect and the handshake can each take seconds against a flaky or
// hostile network, and the screen must not wait for any of them. When the
// attempt ends, doneMessage is posted to the owner window, whose thread takes
// the outcome.

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "platform/window_types.h"

namespace hx {

class CIOPacket;

class CChannelConnector {
public:
    // Runs on the connector's thread; returns the connection that passed the
    // handshake, or null. It names the connection it works on with Track.
    using Attempt = std::function<std::unique_ptr<CIOPacket>(CChannelConnector&)>;

    CChannelConnector() = default;
    ~CChannelConnector();  // cancels an attempt under way
    CChannelConnector(const CChannelConnector&) = delete;
    CChannelConnector& operator=(const CChannelConnector&) = delete;

    // False when an attempt is under way already, or its outcome not taken.
    bool Start(Attempt attempt, HWND owner, UINT doneMessage);
    bool IsBusy() const;
    // The ended attempt's connection, null when it failed; nullopt when no
    // attempt has ended since the last take.
    std::optional<std::unique_ptr<CIOPacket>> TakeOutcome();
    // Interrupts the connection the attempt works on and waits for the
    // attempt to end; its outcome is dropped.
    void Cancel();

    // For the attempt: the connection it works on now (null: none).
    void Track(CIOPacket* connection);
    bool IsCancelled() const { return m_cancelled; }

private:
    mutable std::mutex m_mutex;
    CIOPacket* m_tracked = nullptr;
    enum class enumState { Idle, Running, Ended };
    enumState m_state = enumState::Idle;
    std::unique_ptr<CIOPacket> m_outcome;
    std::atomic<bool> m_cancelled{false};
    std::thread m_thread;
};

}  // namespace hx
