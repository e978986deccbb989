#pragma once
// Requests the kiosk sends once, without waiting for an answer: the room
// list (the server answers with its list pages), one room picture (answered
// with file chunks), the start-up notice (answered with 11220) and the sale
// (answered with 602). Each goes out through a request client with the
// kiosk's service key; a lost one is repeated only by its next occasion, and
// a sale never (the guest is told and paid back).

#include <string>

namespace hx {

class CNetChannel;
struct stSaleRequest;

// 1 when the channel sent the request, 0 otherwise (also without a channel,
// when nothing is sent at all).
int SendRoomListRequest(CNetChannel* channel);
// The download list's entry at `position`; a name is cut to 255 bytes.
int SendPictureRequest(CNetChannel* channel, int position, const std::string& fileName);
int SendStartupNotice(CNetChannel* channel);
int SendSaleRequest(CNetChannel* channel, const stSaleRequest& request);

}  // namespace hx
