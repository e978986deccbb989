#pragma once
// The machine's name as the network knows it (the host name); empty when the
// system does not tell.

#include <string>

#include "platform/windows_names.h"

namespace hx {

std::string GetComputerName();

}  // namespace hx
