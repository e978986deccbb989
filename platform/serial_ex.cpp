#include "platform/serial_ex.h"

#include <chrono>

#include "platform/serial_line_errors.h"

namespace hx {

CSerialEx::~CSerialEx() {
    CSerialEx::Close();
}

LONG CSerialEx::Open(std::string_view port, DWORD inQueue, DWORD outQueue, bool startListener) {
    const LONG result = CSerial::Open(port, inQueue, outQueue, true);
    if (result != ERROR_SUCCESS || !startListener) {
        return result;
    }
    return StartListener();
}

LONG CSerialEx::Close() {
    StopListener(INFINITE);
    JoinListener();
    return CSerial::Close();
}

LONG CSerialEx::StartListener() {
    if (!IsOpen()) {
        return SetResult(ERROR_INVALID_HANDLE);
    }
    if (IsListening()) {
        return SetResult(ERROR_SUCCESS);
    }
    JoinListener();  // one that ended by itself on an error
    m_stopRequested = false;
    {
        const std::lock_guard lock(m_stateLock);
        m_listening = true;
    }
    m_listener = std::thread([this] { Listen(); });
    return SetResult(ERROR_SUCCESS);
}

LONG CSerialEx::StopListener(DWORD timeoutMs) {
    if (!IsListening()) {
        return SetResult(ERROR_SUCCESS);
    }
    m_stopRequested = true;
    // Setting the mask again completes the listener's pending wait.
    SetEventMask(QueryEventMask());
    std::unique_lock lock(m_stateLock);
    const auto ended = [this] { return !m_listening; };
    if (timeoutMs == INFINITE) {
        m_ended.wait(lock, ended);
    } else if (!m_ended.wait_for(lock, std::chrono::milliseconds(timeoutMs), ended)) {
        return SetResult(ERROR_TIMEOUT);
    }
    lock.unlock();
    JoinListener();
    m_stopRequested = false;
    return SetResult(ERROR_SUCCESS);
}

bool CSerialEx::IsListening() const {
    const std::lock_guard lock(m_stateLock);
    return m_listening;
}

void CSerialEx::Listen() {
    while (!m_stopRequested) {
        const LONG result = WaitForEvent(INFINITE);
        if (result != ERROR_SUCCESS) {
            MarkEnded();
            OnListenerEnded(result);
            return;
        }
        if (m_stopRequested) {
            break;
        }
        DWORD errors = 0;
        FetchCommErrors(&errors);
        const DWORD events = TakeEvents() | (EventsOfCommErrors(errors) & QueryEventMask());
        if (events != 0) {
            OnSerialEvent(events, errors);
        }
    }
    MarkEnded();
}

void CSerialEx::MarkEnded() {
    const std::lock_guard lock(m_stateLock);
    m_listening = false;
    m_ended.notify_all();
}

void CSerialEx::JoinListener() {
    if (m_listener.joinable()) {
        m_listener.join();
    }
}

}  // namespace hx
