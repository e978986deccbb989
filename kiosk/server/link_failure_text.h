#pragma once
// Why the link to the server ended, in words the operator reads in the kiosk
// log, with the channel's result code for whoever looks further.

#include <string>

namespace hx {

// `result` is what CNetChannel::GetLastLinkFailure() gives: an io_result, or
// 0 when the channel recorded no failure (the socket was seen closing).
std::string LinkFailureLine(int result);

}  // namespace hx
