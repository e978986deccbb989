#pragma once
// The exported socket object: one TCP connection or listening socket with the
// block framing applied to everything it sends and receives. A thin handle
// that takes its own lock around every operation and forwards to its
// transport.
//
// Every lock wait is bounded (CLockObj). When one runs out the timeout is
// recorded in "Mutex.log" and the operation does nothing and fails: io_result
// operations return IO_ERROR, the boolean and counting ones 0, Accept null.
// Without a transport, io_result operations return IO_NO_TRANSPORT.

#include <cstdint>
#include <memory>

#include "net/io_base.h"
#include "net/io_limits.h"
#include "net/io_types.h"
#include "net/mutex_ex.h"

namespace hx {

class CIOPacket {
public:
    // A TCP transport for the host (cut to 127 characters) and port, with the
    // current default option word. Nothing is connected yet.
    CIOPacket(const char* host, uint16_t port, bool trace = false);
    // Wraps a transport, which may be null.
    explicit CIOPacket(std::unique_ptr<CIOBase> transport);
    // Closes the socket under the lock. Should the wait run out, it is recorded
    // and the wait goes on: the transport is never freed under another thread.
    ~CIOPacket();
    CIOPacket(const CIOPacket&) = delete;
    CIOPacket& operator=(const CIOPacket&) = delete;

    // Options. Words with IOOPT_ZLIB but not IOOPT_COMPRESS are refused
    // (false); removing IOOPT_COMPRESS also removes IOOPT_ZLIB.
    bool AddOption(uint32_t bits);
    void RemoveOption(uint32_t bits);
    bool SetOption(uint32_t word);
    uint32_t GetOption();
    void SetBlockMode(bool on);  // IOOPT_MESSAGE
    void AddExtOption(uint32_t bits);
    void RemoveExtOption(uint32_t bits);
    uint32_t GetExtOption();
    // The option word of objects created from now on (initially IOOPT_DEFAULT).
    static uint32_t GetDefaultOption();
    static bool SetDefaultOption(uint32_t word);

    // Connection.
    int Connect(int attempts = 1);
    int Listen(const char* address = nullptr);
    // A waiting connection as a new object (same port and option word, trace
    // on, the peer's address as host), or null when none waits.
    std::unique_ptr<CIOPacket> Accept();
    // Closes the socket and forgets what was received on it and not yet
    // taken, so the object can connect again.
    void Close();
    // From any thread, without waiting for the lock: the operation in progress
    // (a connect, a receive waiting for the rest of a message) ends within a
    // moment and fails, and so does every later one. For giving up on a
    // connection that another thread is using.
    void Interrupt();
    intptr_t GetSocket();  // -1 when closed or without a transport
    // The dotted address of either end: 1, or 0 with nothing written when
    // there is none or size is negative or too small for it.
    int GetPeerName(char* buffer, int size);
    int GetSockName(char* buffer, int size);
    int GetLocalPort();  // the bound port, e.g. after listening on port 0
    int IsAlive();
    int IsFail();
    // Bytes received and not yet taken when there are any, else whether the
    // socket has something (1), nothing (0) or failed (-1).
    int ReadReady(int unused = 0);

    // Data (see CIOBase).
    int Send(const void* data, int length);
    int SendExact(const void* data, int length);  // 1 when Send gave IO_OK
    int Receive(void* buffer, int length);
    int ReceiveExact(void* buffer, int length);  // 1 when Receive gave IO_OK
    int Receive(uint8_t** buffer, int* length);  // release with FreeReceiveBuffer
    int GetReceiveBuff(const uint8_t** data, int* length = nullptr);

    // Counters of this object and of the process.
    uint32_t GetRxPerf(enumPerf which);
    uint32_t GetTxPerf(enumPerf which);
    static uint32_t GetTotRxPerf(enumPerf which);
    static uint32_t GetTotTxPerf(enumPerf which);

private:
    // Runs the operation on the transport under the lock; the lock site is the
    // caller's line.
    template <typename Result, typename Operation>
    Result Guarded(Result noTransport, Result lockFailed, Operation operation,
                   const char* file = __builtin_FILE(), int line = __builtin_LINE());
    template <typename Operation>
    void Guarded(Operation operation, const char* file = __builtin_FILE(),
                 int line = __builtin_LINE());

    std::unique_ptr<CMutexEx> m_mutex;
    std::unique_ptr<CIOBase> m_transport;
};

}  // namespace hx
