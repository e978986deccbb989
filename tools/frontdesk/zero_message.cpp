#include "tools/frontdesk/zero_message.h"

#include <algorithm>
#include <vector>

#include "net/message_header.h"
#include "net/trx_buff.h"

namespace hx {

int SendZeroMessage(CIOPacket& connection, int32_t length) {
    if (length <= 0) {
        return IO_ERROR;
    }
    // Without message mode every send is one block; the message header is
    // written by hand at the start of the first, where message mode puts it.
    const uint32_t options = connection.GetOption();
    connection.SetOption((options & ~IOOPT_MESSAGE) | IOOPT_COMPRESS | IOOPT_ZLIB);
    std::vector<uint8_t> block(CTRxBuff::kBlockThreshold, 0);
    PackMessageHeader(length, block.data());
    size_t headerBytes = kMessageHeaderSize;
    int64_t left = length;
    int result = IO_OK;
    while (left > 0 && result == IO_OK) {
        const auto zeros = static_cast<size_t>(
            std::min<int64_t>(left, static_cast<int64_t>(block.size() - headerBytes)));
        result = connection.Send(block.data(), static_cast<int>(headerBytes + zeros));
        std::fill_n(block.begin(), headerBytes, 0);
        headerBytes = 0;
        left -= static_cast<int64_t>(zeros);
    }
    connection.SetOption(options);
    return result;
}

}  // namespace hx
