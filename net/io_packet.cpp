#include "net/io_packet.h"

#include <atomic>

#include "net/io_tcp.h"
#include "net/lock_obj.h"

namespace hx {

namespace {

std::atomic<uint32_t> g_defaultOption{IOOPT_DEFAULT};

}  // namespace

template <typename Result, typename Operation>
Result CIOPacket::Guarded(Result noTransport, Result lockFailed, Operation operation,
                          const char* file, int line) {
    CLockObj lock(*m_mutex, file, line);
    if (!lock.IsLocked()) {
        return lockFailed;
    }
    if (!m_transport) {
        return noTransport;
    }
    return operation(*m_transport);
}

template <typename Operation>
void CIOPacket::Guarded(Operation operation, const char* file, int line) {
    CLockObj lock(*m_mutex, file, line);
    if (lock.IsLocked() && m_transport) {
        operation(*m_transport);
    }
}

CIOPacket::CIOPacket(const char* host, uint16_t port, bool trace)
    : CIOPacket(std::make_unique<CIOTcp>(host, port, GetDefaultOption(), trace)) {}

CIOPacket::CIOPacket(std::unique_ptr<CIOBase> transport)
    : m_mutex(std::make_unique<CMutexEx>()), m_transport(std::move(transport)) {}

CIOPacket::~CIOPacket() {
    CLockObj lock(*m_mutex);
    while (!lock.IsLocked()) {
        lock.Relock();
    }
    if (m_transport) {
        m_transport->Close();
    }
    m_transport.reset();
}

bool CIOPacket::AddOption(uint32_t bits) {
    return Guarded(false, false, [&](CIOBase& io) { return io.AddOption(bits); });
}

void CIOPacket::RemoveOption(uint32_t bits) {
    Guarded([&](CIOBase& io) { io.RemoveOption(bits); });
}

bool CIOPacket::SetOption(uint32_t word) {
    return Guarded(false, false, [&](CIOBase& io) { return io.SetOption(word); });
}

uint32_t CIOPacket::GetOption() {
    return Guarded(0u, 0u, [](CIOBase& io) { return io.GetOption(); });
}

void CIOPacket::SetBlockMode(bool on) {
    Guarded([&](CIOBase& io) {
        if (on) {
            io.AddOption(IOOPT_MESSAGE);
        } else {
            io.RemoveOption(IOOPT_MESSAGE);
        }
    });
}

void CIOPacket::AddExtOption(uint32_t bits) {
    Guarded([&](CIOBase& io) { io.AddExtOption(bits); });
}

void CIOPacket::RemoveExtOption(uint32_t bits) {
    Guarded([&](CIOBase& io) { io.RemoveExtOption(bits); });
}

uint32_t CIOPacket::GetExtOption() {
    return Guarded(0u, 0u, [](CIOBase& io) { return io.GetExtOption(); });
}

uint32_t CIOPacket::GetDefaultOption() {
    return g_defaultOption.load(std::memory_order_relaxed);
}

bool CIOPacket::SetDefaultOption(uint32_t word) {
    if (!IsValidOptionWord(word)) {
        return false;
    }
    g_defaultOption.store(word, std::memory_order_relaxed);
    return true;
}

int CIOPacket::Connect(int attempts) {
    return Guarded<int>(IO_NO_TRANSPORT, IO_ERROR,
                        [&](CIOBase& io) { return io.Connect(attempts); });
}

void CIOPacket::Interrupt() {
    // The transport lives as long as this object; only the lock is skipped.
    if (m_transport) {
        m_transport->Interrupt();
    }
}

int CIOPacket::Listen(const char* address) {
    return Guarded(0, 0, [&](CIOBase& io) { return io.Listen(address); });
}

std::unique_ptr<CIOPacket> CIOPacket::Accept() {
    std::unique_ptr<CIOBase> accepted = Guarded<std::unique_ptr<CIOBase>>(
        nullptr, nullptr, [](CIOBase& io) { return io.Accept(); });
    return accepted ? std::make_unique<CIOPacket>(std::move(accepted)) : nullptr;
}

void CIOPacket::Close() {
    Guarded([](CIOBase& io) { io.Close(); });
}

intptr_t CIOPacket::GetSocket() {
    return Guarded<intptr_t>(-1, -1, [](CIOBase& io) { return io.GetSocket(); });
}

int CIOPacket::GetPeerName(char* buffer, int size) {
    return Guarded(0, 0, [&](CIOBase& io) { return io.GetPeerName(buffer, size); });
}

int CIOPacket::GetSockName(char* buffer, int size) {
    return Guarded(0, 0, [&](CIOBase& io) { return io.GetSockName(buffer, size); });
}

int CIOPacket::GetLocalPort() {
    return Guarded(0, 0, [](CIOBase& io) { return io.GetLocalPort(); });
}

int CIOPacket::IsAlive() {
    return Guarded(0, 0, [](CIOBase& io) { return io.IsAlive(); });
}

int CIOPacket::IsFail() {
    return Guarded(0, 0, [](CIOBase& io) { return io.IsFail(); });
}

int CIOPacket::ReadReady(int /*unused*/) {
    return Guarded(-1, -1, [](CIOBase& io) { return io.ReadReady(); });
}

int CIOPacket::Send(const void* data, int length) {
    return Guarded<int>(IO_NO_TRANSPORT, IO_ERROR,
                        [&](CIOBase& io) { return io.Send(data, length); });
}

int CIOPacket::SendExact(const void* data, int length) {
    return Send(data, length) == IO_OK ? 1 : 0;
}

int CIOPacket::Receive(void* buffer, int length) {
    return Guarded<int>(IO_NO_TRANSPORT, IO_ERROR,
                        [&](CIOBase& io) { return io.Receive(buffer, length); });
}

int CIOPacket::ReceiveExact(void* buffer, int length) {
    return Receive(buffer, length) == IO_OK ? 1 : 0;
}

int CIOPacket::Receive(uint8_t** buffer, int* length) {
    *buffer = nullptr;
    return Guarded<int>(IO_NO_TRANSPORT, IO_ERROR,
                        [&](CIOBase& io) { return io.Receive(buffer, length); });
}

int CIOPacket::GetReceiveBuff(const uint8_t** data, int* length) {
    return Guarded(0, 0, [&](CIOBase& io) { return io.GetReceiveBuff(data, length); });
}

uint32_t CIOPacket::GetRxPerf(enumPerf which) {
    return Guarded(0u, 0u, [&](CIOBase& io) { return io.GetRxPerf(which); });
}

uint32_t CIOPacket::GetTxPerf(enumPerf which) {
    return Guarded(0u, 0u, [&](CIOBase& io) { return io.GetTxPerf(which); });
}

uint32_t CIOPacket::GetTotRxPerf(enumPerf which) {
    return CPerfCounters::GetTotal(ProcessRxTotals(), which);
}

uint32_t CIOPacket::GetTotTxPerf(enumPerf which) {
    return CPerfCounters::GetTotal(ProcessTxTotals(), which);
}

}  // namespace hx
