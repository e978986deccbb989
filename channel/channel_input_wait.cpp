#include "channel/channel_input_wait.h"

#include "net/io_packet.h"
#include "net/socket_wait.h"

namespace hx {

int WaitChannelInput(CIOPacket& connection, intptr_t socket, std::chrono::milliseconds limit) {
    // Buffered bytes first; only with none does the socket's answer count.
    if (const int ready = connection.ReadReady(); ready != 0) {
        return ready > 0 ? 1 : -1;
    }
    return WaitSocketReadable(socket, static_cast<int>(limit.count()));
}

}  // namespace hx
