#include "channel/machine_identity.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <string_view>

#include "channel/channel_settings_defaults.h"
#include "platform/envr.h"
#include "platform/fixed_field.h"

namespace hx {

namespace {

constexpr size_t kDescriptionField = 64;
// A bridge over the cards hides which card owns which address; that view is
// then not used at all.
constexpr std::string_view kBridgeMiniport = "MAC 브리지 미니포트";

std::string CutDescription(const std::string& description) {
    char field[kDescriptionField];
    WriteTextField(field, sizeof field, description);
    return ReadTextField(field, sizeof field);
}

stNicInfo Classified(stNicInfo nic) {
    nic.kind = ClassifyNic(nic.macText, nic.description);
    return nic;
}

void RankByKind(std::vector<stNicInfo>& nics) {
    std::stable_sort(nics.begin(), nics.end(),
                     [](const stNicInfo& a, const stNicInfo& b) { return a.kind < b.kind; });
}

// Adapters with an IPv4 configuration, with their addresses.
std::vector<stNicInfo> ConfiguredView(const std::vector<stNetworkAdapter>& adapters) {
    std::vector<stNicInfo> nics;
    for (const stNetworkAdapter& adapter : adapters) {
        if (adapter.description.find(kBridgeMiniport) != std::string::npos) {
            return {};
        }
        if (adapter.ipAddress.empty()) {
            continue;
        }
        nics.push_back(Classified({CutDescription(adapter.description), MacText(adapter.mac),
                                   adapter.ipAddress, adapter.ipMask, adapter.gateway,
                                   adapter.dhcp ? 1u : 0u, NICKIND_OTHER}));
    }
    RankByKind(nics);
    return nics;
}

// Every adapter, by description and MAC alone.
std::vector<stNicInfo> HardwareView(const std::vector<stNetworkAdapter>& adapters) {
    std::vector<stNicInfo> nics;
    for (const stNetworkAdapter& adapter : adapters) {
        stNicInfo nic;
        nic.description = CutDescription(adapter.description);
        nic.macText = MacText(adapter.mac);
        nics.push_back(Classified(std::move(nic)));
    }
    RankByKind(nics);
    return nics;
}

bool HasMac(const std::vector<stNicInfo>& nics, const std::string& macText) {
    return std::any_of(nics.begin(), nics.end(),
                       [&macText](const stNicInfo& nic) { return nic.macText == macText; });
}

bool IsRankedKind(uint32_t kind) {
    return kind >= NICKIND_WIRED_VENDOR && kind <= NICKIND_EXCLUDED;
}

}  // namespace

std::string MacText(const std::array<uint8_t, 6>& mac) {
    char text[18];
    std::snprintf(text, sizeof text, "%02X:%02X:%02X:%02X:%02X:%02X", mac[0], mac[1], mac[2],
                  mac[3], mac[4], mac[5]);
    return text;
}

int ListNicInfo(const CNetworkAdapterSource& source, std::vector<stNicInfo>& list, int& count,
                int sorted) {
    list.clear();
    const std::vector<stNetworkAdapter> adapters = source.ListAdapters();
    const std::vector<stNicInfo> configured = ConfiguredView(adapters);
    count = static_cast<int>(configured.size());
    std::vector<stNicInfo> merged = configured;
    for (stNicInfo& nic : HardwareView(adapters)) {
        if (!HasMac(configured, nic.macText)) {
            merged.push_back(std::move(nic));
        }
    }
    if (sorted == 0) {
        list = std::move(merged);
    } else {
        std::copy_if(merged.begin(), merged.end(), std::back_inserter(list),
                     [](const stNicInfo& nic) { return IsRankedKind(nic.kind); });
        RankByKind(list);
    }
    return static_cast<int>(list.size());
}

std::string ChooseKeyMac(const CNetworkAdapterSource& source) {
    const std::string stored = CEnvr().GetString("Computer", "KeyMAC", kDefaultKeyMac);
    std::vector<stNicInfo> nics;
    int count = 0;
    if (ListNicInfo(source, nics, count, 1) == 0) {
        return stored;
    }
    if (!stored.empty() && HasMac(nics, stored)) {
        return stored;
    }
    return nics.front().macText;
}

}  // namespace hx
