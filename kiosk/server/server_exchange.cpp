#include "kiosk/server/server_exchange.h"

#include "channel/net_client.h"

namespace hx {

namespace {

int SendOn(CNetClient& client, uint32_t command, size_t size, const RequestBodyFiller& fillBody) {
    std::vector<uint8_t> record(size);
    if (!client.InitClientHeader(record, static_cast<enumCommand>(command))) {
        return 0;
    }
    if (fillBody && !fillBody(record)) {
        return 0;
    }
    return client.SendPacket(record.data(), static_cast<int>(record.size()));
}

}  // namespace

int SendRequest(CNetChannel* channel, uint32_t command, size_t size,
                const RequestBodyFiller& fillBody) {
    if (channel == nullptr) {
        return 0;
    }
    CNetClient client(channel, SERVICE_KIOSK);
    return SendOn(client, command, size, fillBody);
}

std::optional<std::vector<uint8_t>> ExchangeRequest(CNetChannel* channel, uint32_t command,
                                                    size_t size, const RequestBodyFiller& fillBody,
                                                    size_t minimumAnswerSize,
                                                    const std::atomic<bool>* keepWaiting) {
    if (channel == nullptr) {
        return std::nullopt;
    }
    CNetClient client(channel, SERVICE_KIOSK);
    client.SetKeepWaiting(keepWaiting);
    if (SendOn(client, command, size, fillBody) != 1) {
        return std::nullopt;
    }
    CQueueData answer;
    if (client.WaitPacket(answer, static_cast<enumCommand>(command)) != 1 ||
        answer.GetCommand() != command ||
        static_cast<size_t>(answer.GetLength()) < minimumAnswerSize) {
        return std::nullopt;
    }
    return std::vector<uint8_t>(answer.GetData(), answer.GetData() + answer.GetLength());
}

}  // namespace hx
