#pragma once
// The TCP transport: one connected or listening socket under the framing of
// CIOBase. Every operating-system socket call of the socket object is here.

#include <atomic>
#include <cstdint>
#include <memory>

#include "net/drain_buffer.h"
#include "net/io_base.h"
#include "net/socket_api.h"

namespace hx {

class CIOTcp : public CIOBase {
public:
    static constexpr size_t kHostSize = 128;
    static constexpr size_t kSendPiece = 6144;

    // Nothing is connected yet; a longer host text is cut to 127 characters.
    CIOTcp(const char* host, uint16_t port, uint32_t options, bool trace);
    ~CIOTcp() override;

    const char* GetHost() const { return m_host; }

    // Host texts of 6 characters or fewer give IO_BAD_ADDRESS at once. Names
    // are looked up. Unless IOEXT_NOPING is set the host must answer an echo
    // first. Returns IO_OK or the failure; IsFail() reports one from then on.
    int Connect(int attempts) override;
    // Binds to the address (any when null) and the port; 1, or 0 on failure.
    int Listen(const char* address) override;
    // A waiting connection, or null without waiting.
    std::unique_ptr<CIOBase> Accept() override;
    void Close() override;
    const char* GetDescription() const override { return "KTR Online Ver 0.1 / TCP"; }
    int GetPeerName(char* buffer, int size) override;
    int GetSockName(char* buffer, int size) override;
    int GetLocalPort() override;
    intptr_t GetSocket() const override { return static_cast<intptr_t>(m_socket); }
    int IsFail() const override { return m_failed ? 1 : 0; }
    bool IsUnreachable() const { return m_unreachable; }
    int IsAlive() override;
    void Interrupt() override { m_interrupted = true; }

    // Waits for writability in pieces of at most kSendPiece bytes; while the
    // socket stays unwritable, keeps taking the peer's data so both ends move.
    int SendRaw(const uint8_t* data, size_t length) override;
    // Drained bytes first, then the socket; IO_READ_TIMEOUT after the idle
    // limit without a byte. Bytes beyond a short read wait in the drain buffer.
    int ReadRaw(uint8_t* data, size_t length) override;

protected:
    int WaitRx(int timeoutMs) override;
    int TransportReady() override;

private:
    CIOTcp(SocketHandle accepted, const char* peer, uint16_t port, uint32_t options);
    int ResolveHost(in_addr& address);
    int TestReachability(const in_addr& address);
    int TryConnect(const in_addr& address, int attempts);
    // WaitSocket in short slices, failing once Interrupt was called.
    int Wait(short events, int timeoutMs);
    int DrainIncoming();
    long ReceiveSome(uint8_t* data, size_t length);
    bool ReceiveWithoutWaiting();
    // getpeername or getsockname, as dotted text into buffer: 1, else 0.
    using EndpointQuery = int (*)(SocketHandle, sockaddr*, SocketLength*);
    int FormatEndpoint(EndpointQuery query, char* buffer, int size) const;

    SocketHandle m_socket = kNoSocket;
    char m_host[kHostSize] = {};
    uint16_t m_port;
    bool m_failed = false;
    bool m_unreachable = false;  // the host did not answer the echo test
    CDrainBuffer m_drain;
    std::atomic<bool> m_interrupted{false};
};

}  // namespace hx
