#include "channel/recv_status.h"

namespace hx {

// Out of line so the class's type information lives in the library.
CRecvStatus::~CRecvStatus() = default;

}  // namespace hx
