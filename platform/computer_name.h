#pragma once
// The machine's name as the network knows it (the host name); empty when the
// system does not tell.

#include <string>

namespace hx {

std::string GetComputerName();

}  // namespace hx
