#pragma once
// Requests the kiosk sends once, without waiting for an answer: the room
// list (the server answers with its list pages), one room picture (answered
// with file chunks) and the start-up notice (answered with 11220). Each goes
// out through a request client with the kiosk's service key; a lost one is
// repeated only by its next occasion.

#include <string>

namespace hx {

class CNetChannel;

// 1 when the channel sent the request, 0 otherwise (also without a channel,
// when nothing is sent at all).
int SendRoomListRequest(CNetChannel* channel);
// The download list's entry at `position`; a name is cut to 255 bytes.
int SendPictureRequest(CNetChannel* channel, int position, const std::string& fileName);
int SendStartupNotice(CNetChannel* channel);

}  // namespace hx
