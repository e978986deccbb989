#pragma once
// How the kiosk's requests go out: each on a request client of its own with
// the kiosk's service key, the header stamped by the client and the body
// filled by the caller. One client per exchange, so an answer that comes
// late to an earlier request can never pass for the answer to this one.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

namespace hx {

class CNetChannel;

using RequestBodyFiller = std::function<bool(std::span<uint8_t> record)>;

// 1 when the channel took the request, 0 otherwise (also without a channel,
// when nothing is sent at all).
int SendRequest(CNetChannel* channel, uint32_t command, size_t size,
                const RequestBodyFiller& fillBody = {});

// Sends the request and waits for its answer: one with the request's command
// and at least minimumAnswerSize bytes. Nullopt when it was not sent, when
// no answer came within the request clients' wait, when the answer was
// another command, a failure or too short, and when keepWaiting (if given)
// turned false meanwhile. Blocks: never on the user interface thread.
std::optional<std::vector<uint8_t>> ExchangeRequest(CNetChannel* channel, uint32_t command,
                                                    size_t size, const RequestBodyFiller& fillBody,
                                                    size_t minimumAnswerSize,
                                                    const std::atomic<bool>* keepWaiting = nullptr);

}  // namespace hx
