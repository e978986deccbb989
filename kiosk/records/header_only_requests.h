#pragma once
// Requests that are a header and zeros: the room list request, the sales
// summary and settlement requests, the update information request and the
// start-up notice. Each has its own fixed size.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace hx {

inline constexpr size_t kRoomListRequestSize = 168;
inline constexpr size_t kSalesSummaryRequestSize = 104;
inline constexpr size_t kSettlementRequestSize = 104;
inline constexpr size_t kUpdateInfoRequestSize = 9268;
inline constexpr size_t kStartupNoticeSize = 36;

// The size of the request with that command; 0 for any other command.
size_t HeaderOnlyRequestSize(uint32_t command);

// The whole request (command, size and magic in its header); empty for a
// command that is not one of these requests.
std::vector<uint8_t> PackHeaderOnlyRequest(uint32_t command);

}  // namespace hx
