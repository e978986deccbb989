#pragma once
// What the handshake tells the server about this machine: its name and its
// network adapters. Behind an interface so tests can present any machine.

#include <string>

#include "platform/network_adapters.h"
#include "platform/windows_names.h"

namespace hx {

class CChannelMachine {
public:
    virtual ~CChannelMachine() = default;
    // The name the system gives this computer; empty when it has none.
    virtual std::string GetComputerName() const = 0;
    virtual const CNetworkAdapterSource& GetAdapters() const = 0;
};

// This computer.
const CChannelMachine& SystemChannelMachine();

}  // namespace hx
