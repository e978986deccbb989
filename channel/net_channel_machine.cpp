#include "channel/net_channel_machine.h"

#include "platform/computer_name.h"

namespace hx {

namespace {

class CSystemChannelMachine : public CChannelMachine {
public:
    std::string GetComputerName() const override { return hx::GetComputerName(); }
    const CNetworkAdapterSource& GetAdapters() const override { return SystemNetworkAdapters(); }
};

}  // namespace

const CChannelMachine& SystemChannelMachine() {
    static const CSystemChannelMachine machine;
    return machine;
}

}  // namespace hx
