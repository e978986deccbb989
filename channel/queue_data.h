#pragma once
// One received packet, header and body, owned by whoever holds the object.
// Handed on with Move, never copied. The process keeps totals of the live
// objects and of the bytes they hold, for diagnostics.

#include <cstdint>
#include <memory>

namespace hx {

class CQueueData {
public:
    CQueueData();
    // Copies the bytes; a null pointer or a length below 1 gives an empty object.
    CQueueData(const uint8_t* data, int length);
    ~CQueueData();
    CQueueData(const CQueueData&) = delete;
    CQueueData& operator=(const CQueueData&) = delete;

    // The target drops what it held and takes this object's bytes; this one is
    // left empty.
    void Move(CQueueData& target);

    int GetLength() const { return m_length; }
    const uint8_t* GetData() const { return m_data.get(); }
    // The command of the packet; 0 when it is shorter than a packet header.
    uint32_t GetCommand() const;

    static int64_t GetTotSize();
    static int GetTotCount();

private:
    void Release();

    int m_length = 0;
    std::unique_ptr<uint8_t[]> m_data;
};

}  // namespace hx
