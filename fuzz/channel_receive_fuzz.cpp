// One message as the channel receives it off the connection: container walk,
// the channel's own commands and routing to request clients. Whatever arrives,
// nothing outside the message is read and every packet handed on lies within it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "channel/net_channel.h"
#include "channel/net_channel_message_box.h"
#include "channel/net_client.h"
#include "fuzz/fuzz_require.h"
#include "tests/support/temp_drive.h"

namespace hx {

namespace {

class CSilentMessageBox : public CChannelMessageBox {
public:
    void Show(const std::string& caption, const std::string& text) override {
        // Touch every byte, so a read beyond the packet shows.
        size_t sum = 0;
        for (char c : caption + text) {
            sum += static_cast<unsigned char>(c);
        }
        Require(sum != SIZE_MAX);
    }
};

class CFuzzChannel : public CNetChannel {
public:
    using CNetChannel::DispatchReceived;

    const uint8_t* begin = nullptr;
    const uint8_t* end = nullptr;

    int ParsePacket(const uint8_t* data, int length) override {
        Require(length >= 36 && data >= begin && data + length <= end);
        return 1;
    }
};

}  // namespace

}  // namespace hx

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace hx;
    static const bool ready = [] {
        // The channel's log goes to a drive folder of the fuzzer's own.
        static const CTempDrive drive;
        static CSilentMessageBox box;
        SetChannelMessageBox(&box);
        return true;
    }();
    Require(ready);
    static CFuzzChannel channel;
    // Sequences 2 and 3 share the kiosk's service key; 4 has another.
    static CNetClient older(&channel, SERVICE_KIOSK);
    static CNetClient younger(&channel, SERVICE_KIOSK);
    static CNetClient other(&channel, 5);

    // As received: the message, then a zero byte.
    std::vector<uint8_t> message(data, data + size);
    message.push_back(0);
    channel.begin = message.data();
    channel.end = message.data() + size;
    channel.DispatchReceived(message.data(), static_cast<int>(size));
    for (CNetClient* client : {&older, &younger, &other}) {
        while (std::unique_ptr<CQueueData> packet = client->GetData()) {
            Require(packet->GetLength() >= 36 && packet->GetLength() <= static_cast<int>(size));
        }
    }
    return 0;
}
