#pragma once
// The transport behind a socket object: option words, counters and the
// message and block framing on top of two primitives (SendRaw, ReadRaw) that
// a concrete transport supplies.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "net/block_reader.h"
#include "net/block_writer.h"
#include "net/call_trace.h"
#include "net/io_types.h"
#include "net/perf_counters.h"
#include "net/raw_io.h"
#include "platform/windows_names.h"

namespace hx {

// Releases a buffer handed out by the allocating Receive; null is accepted.
void FreeReceiveBuffer(void* buffer);

class CIOBase : public CRawIO {
public:
    CIOBase(uint32_t options, bool trace);
    ~CIOBase() override = default;
    CIOBase(const CIOBase&) = delete;
    CIOBase& operator=(const CIOBase&) = delete;

    uint32_t GetOption() const { return m_options; }
    // The setters refuse (return false, change nothing) a word that would
    // announce zlib without compression; removing compression removes zlib.
    bool SetOption(uint32_t word);
    bool AddOption(uint32_t bits);
    void RemoveOption(uint32_t bits);
    uint32_t GetExtOption() const { return m_extOptions; }
    void AddExtOption(uint32_t bits) { m_extOptions |= bits; }
    void RemoveExtOption(uint32_t bits) { m_extOptions &= ~bits; }
    bool GetTrace() const { return m_trace; }

    // One message: in message mode a message header, then the bytes; the last
    // block is sent before returning. A negative length, or an empty message
    // in message mode (which the peer must refuse), gives IO_ERROR.
    int Send(const void* data, int length);

    // Exactly length bytes; in message mode the next message, which must be
    // length bytes long (else IO_ERROR).
    int Receive(void* buffer, int length);

    // The next message into a buffer of length + 1 bytes ending in a zero,
    // released with FreeReceiveBuffer. Message mode only (else IO_ERROR). On
    // failure *buffer is null: a partly read body is released here.
    int Receive(uint8_t** buffer, int* length);

    // 1 and the decoded bytes not yet taken (reading one block when none are
    // left), which stay untaken; 0 on failure.
    int GetReceiveBuff(const uint8_t** data, int* length);

    // Sends a block left in the transmit buffer.
    int FlushTx();

    // Decoded bytes not yet taken when there are any, else what the connection
    // has waiting (a count, or 1 ready, 0 nothing, -1 error).
    int ReadReady();

    uint32_t GetRxPerf(enumPerf which) const { return m_rxCounters.Get(which); }
    uint32_t GetTxPerf(enumPerf which) const { return m_txCounters.Get(which); }

    virtual int IsAlive() = 0;

    // Socket operations; a transport without a socket refuses them.
    virtual int Connect(int /*attempts*/) { return IO_ERROR; }
    virtual int Listen(const char* /*address*/) { return 0; }
    virtual std::unique_ptr<CIOBase> Accept() { return nullptr; }
    virtual void Close() {}
    virtual const char* GetDescription() const { return ""; }
    virtual int GetPeerName(char* /*buffer*/, int /*size*/) { return 0; }
    virtual int GetSockName(char* /*buffer*/, int /*size*/) { return 0; }
    virtual int GetLocalPort() { return 0; }
    virtual intptr_t GetSocket() const { return -1; }
    virtual int IsFail() const { return 0; }
    // From any thread, without the object's lock: a wait in progress ends
    // within a moment and fails, and so does every wait after it.
    virtual void Interrupt() {}

protected:
    using Clock = std::chrono::steady_clock;

    // For a transport closing its connection: what was decoded from it and not
    // yet taken must not reach the reader of a later connection. (The writer
    // holds nothing between calls: every send empties it, whatever the
    // outcome.)
    void DiscardReceived() { m_reader.Discard(); }

    // 1 when a block can be read now, 0 when nothing came within timeoutMs,
    // or a failure code.
    virtual int WaitRx(int timeoutMs) = 0;
    virtual int TransportReady() = 0;

private:
    int SendMessage(const void* data, int length);
    int ReceiveInto(void* buffer, int length);
    int ReceiveAllocated(uint8_t** buffer, int* length);
    int Report(const char* operation, const void* data, int length, int result);
    int ReadFromRx(uint8_t* out, size_t length, Clock::time_point deadline);
    int ReadMessageHeader(int32_t& length);
    int ReadBody(uint8_t** buffer, size_t length);

    uint32_t m_options;
    uint32_t m_extOptions = 0;
    bool m_trace;
    CCallTrace m_calls;
    CPerfCounters m_rxCounters;
    CPerfCounters m_txCounters;
    CBlockWriter m_writer;
    CBlockReader m_reader;
};

}  // namespace hx
