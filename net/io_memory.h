#pragma once
// A transport over in-memory byte streams: what is sent is collected, what is
// read comes from bytes given beforehand. Reading past them behaves like a
// peer that closed the connection. Lets the framing run without sockets.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "net/io_base.h"
#include "net/io_types.h"

namespace hx {

class CIOMemory : public CIOBase {
public:
    explicit CIOMemory(uint32_t options = IOOPT_DEFAULT) : CIOBase(options, false) {}

    void AddIncoming(const uint8_t* data, size_t length);
    void AddIncoming(const std::vector<uint8_t>& data) { AddIncoming(data.data(), data.size()); }
    const std::vector<uint8_t>& Sent() const { return m_sent; }
    void ClearSent() { m_sent.clear(); }

    int SendRaw(const uint8_t* data, size_t length) override;
    int ReadRaw(uint8_t* data, size_t length) override;
    int IsAlive() override { return 1; }

protected:
    int WaitRx(int timeoutMs) override;
    int TransportReady() override;

private:
    std::vector<uint8_t> m_sent;
    std::vector<uint8_t> m_incoming;
    size_t m_readPos = 0;
};

}  // namespace hx
