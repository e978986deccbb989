#pragma once
// A serial port with a listener thread that waits for comm events and hands
// each one to OnSerialEvent, on the listener thread. The listener only waits
// and reports; reading and writing stay with the owner's thread.

#include <condition_variable>
#include <mutex>
#include <thread>

#include "platform/serial.h"

namespace hx {

class CSerialEx : public CSerial {
public:
    CSerialEx() = default;
    // A derived class that handles events must Close in its own destructor:
    // the listener calls into it until it is stopped.
    ~CSerialEx() override;

    // Always overlapped; starts the listener when `startListener` is set.
    LONG Open(std::string_view port, DWORD inQueue = 0, DWORD outQueue = 0,
              bool startListener = false) override;
    // Stops the listener, waiting as long as it takes, then closes the port.
    LONG Close() override;

    // 0 also when the listener runs already.
    virtual LONG StartListener();
    // ERROR_TIMEOUT when the listener has not ended within `timeoutMs`; Close
    // still waits for it.
    virtual LONG StopListener(DWORD timeoutMs = INFINITE);
    // True from StartListener until a stop or an error ends the listener.
    bool IsListening() const;

protected:
    // On the listener thread, for every wait that saw events (within the mask).
    virtual void OnSerialEvent(DWORD events, DWORD errors) = 0;
    // On the listener thread, just before it ends on a failed wait: events
    // stop arriving until the port is opened again.
    virtual void OnListenerEnded(LONG error) = 0;

private:
    void Listen();
    void MarkEnded();
    void JoinListener();

    std::atomic<bool> m_stopRequested{false};
    std::thread m_listener;
    mutable std::mutex m_stateLock;
    std::condition_variable m_ended;
    bool m_listening = false;
};

}  // namespace hx
