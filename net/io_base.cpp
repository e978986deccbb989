#include "net/io_base.h"

#include <algorithm>
#include <cstdlib>

#include "net/io_limits.h"
#include "net/message_header.h"
#include "net/net_log.h"

namespace hx {

namespace {

// The body of an allocating receive grows with the bytes that really arrive,
// so a peer announcing a huge length cannot make us reserve it up front.
constexpr size_t kBodyGrowStep = 65536;

uint32_t Sanitized(uint32_t options) {
    return IsValidOptionWord(options) ? options : options & ~IOOPT_ZLIB;
}

}  // namespace

void FreeReceiveBuffer(void* buffer) {
    std::free(buffer);
}

CIOBase::CIOBase(uint32_t options, bool trace)
    : m_options(Sanitized(options)),
      m_trace(trace),
      m_rxCounters(ProcessRxTotals()),
      m_txCounters(ProcessTxTotals()),
      m_writer(*this, m_txCounters),
      m_reader(*this, m_rxCounters) {}

bool CIOBase::SetOption(uint32_t word) {
    if (!IsValidOptionWord(word)) {
        return false;
    }
    m_options = word;
    return true;
}

bool CIOBase::AddOption(uint32_t bits) {
    return SetOption(m_options | bits);
}

void CIOBase::RemoveOption(uint32_t bits) {
    if (bits & IOOPT_COMPRESS) {
        bits |= IOOPT_ZLIB;
    }
    m_options &= ~bits;
}

int CIOBase::SendMessage(const void* data, int length) {
    bool messageMode = (m_options & IOOPT_MESSAGE) != 0;
    if (length < 0 || (length == 0 && messageMode)) {
        return IO_ERROR;
    }
    if (messageMode) {
        uint8_t header[kMessageHeaderSize];
        PackMessageHeader(length, header);
        if (int result = m_writer.Write(header, sizeof header, m_options); result != IO_OK) {
            return result;
        }
    }
    int result =
        m_writer.Write(static_cast<const uint8_t*>(data), static_cast<size_t>(length), m_options);
    return result == IO_OK ? m_writer.Close(m_options) : result;
}

int CIOBase::FlushTx() {
    return m_writer.Close(m_options);
}

int CIOBase::ReadFromRx(uint8_t* out, size_t length, Clock::time_point deadline) {
    while (length > 0) {
        if (m_reader.Unread() > 0) {
            size_t taken = m_reader.Take(out, length);
            out += taken;
            length -= taken;
            continue;
        }
        auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            return IO_MESSAGE_TIMEOUT;
        }
        int ready = WaitRx(static_cast<int>(left.count()));
        if (ready < 0) {
            return ready;
        }
        if (ready > 0) {
            if (int result = m_reader.ReadBlock(); result != IO_OK) {
                return result;
            }
        }
    }
    return IO_OK;
}

int CIOBase::ReadMessageHeader(int32_t& length) {
    uint8_t bytes[kMessageHeaderSize];
    auto deadline = Clock::now() + std::chrono::milliseconds(GetIoTimeLimits().receiveMs);
    if (int result = ReadFromRx(bytes, sizeof bytes, deadline); result != IO_OK) {
        return result;
    }
    stMessageHeader header;
    if (int result = UnpackMessageHeader(bytes, header); result != IO_OK) {
        return result;
    }
    if (header.length <= 0 || header.length > GetMaxMessageBytes()) {
        return IO_BAD_LENGTH;
    }
    length = header.length;
    return IO_OK;
}

int CIOBase::ReceiveInto(void* buffer, int length) {
    if (length < 0) {
        return IO_ERROR;
    }
    if (int result = FlushTx(); result != IO_OK) {
        return result;
    }
    if (m_options & IOOPT_MESSAGE) {
        int32_t messageLength = 0;
        if (int result = ReadMessageHeader(messageLength); result != IO_OK) {
            return result;
        }
        if (messageLength != length) {
            return IO_ERROR;
        }
    }
    auto deadline = Clock::now() + std::chrono::milliseconds(GetIoTimeLimits().receiveMs);
    return ReadFromRx(static_cast<uint8_t*>(buffer), static_cast<size_t>(length), deadline);
}

int CIOBase::ReadBody(uint8_t** buffer, size_t length) {
    auto deadline = Clock::now() + std::chrono::milliseconds(GetIoTimeLimits().receiveMs);
    size_t capacity = std::min(length, kBodyGrowStep);
    auto* data = static_cast<uint8_t*>(std::malloc(capacity + 1));
    size_t received = 0;
    while (data != nullptr && received < length) {
        if (received == capacity) {
            capacity = std::min(length, 2 * capacity);
            auto* grown = static_cast<uint8_t*>(std::realloc(data, capacity + 1));
            if (grown == nullptr) {
                break;
            }
            data = grown;
        }
        int result = ReadFromRx(data + received, capacity - received, deadline);
        if (result != IO_OK) {
            std::free(data);
            return result;
        }
        received = capacity;
    }
    if (data == nullptr || received < length) {
        std::free(data);
        return IO_ERROR;
    }
    data[length] = 0;
    *buffer = data;
    return IO_OK;
}

int CIOBase::ReceiveAllocated(uint8_t** buffer, int* length) {
    *buffer = nullptr;
    if (!(m_options & IOOPT_MESSAGE)) {
        return IO_ERROR;
    }
    if (int result = FlushTx(); result != IO_OK) {
        return result;
    }
    int32_t messageLength = 0;
    if (int result = ReadMessageHeader(messageLength); result != IO_OK) {
        return result;
    }
    *length = messageLength;
    return ReadBody(buffer, static_cast<size_t>(messageLength));
}

// Failures always get a line in the transport's log; with the trace flag the
// calls before the failure (kept in memory) come first, with their first bytes.
int CIOBase::Report(const char* operation, const void* data, int length, int result) {
    if (result != IO_OK) {
        if (const std::string calls = m_calls.TakeLines(); !calls.empty()) {
            WriteNetLog("%s", calls.c_str());
        }
        WriteNetLog("%s(%d) failed: %s (%d)\r\n", operation, length, IoResultText(result), result);
    } else if (m_trace) {
        m_calls.Record(operation, data, length);
    }
    return result;
}

int CIOBase::Send(const void* data, int length) {
    return Report("Send", data, length, SendMessage(data, length));
}

int CIOBase::Receive(void* buffer, int length) {
    return Report("Receive", buffer, length, ReceiveInto(buffer, length));
}

int CIOBase::Receive(uint8_t** buffer, int* length) {
    int result = ReceiveAllocated(buffer, length);
    return Report("Receive", *buffer, result == IO_OK ? *length : 0, result);
}

int CIOBase::GetReceiveBuff(const uint8_t** data, int* length) {
    if (m_reader.Unread() == 0 && m_reader.ReadBlock() != IO_OK) {
        return 0;
    }
    *data = m_reader.UnreadData();
    if (length != nullptr) {
        *length = static_cast<int>(m_reader.Unread());
    }
    return 1;
}

int CIOBase::ReadReady() {
    if (m_reader.Unread() > 0) {
        return static_cast<int>(m_reader.Unread());
    }
    return TransportReady();
}

}  // namespace hx
