#include <arpa/inet.h>
#include <ifaddrs.h>
#include <linux/if_packet.h>
#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <net/if.h>
#include <net/if_arp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <optional>
#include <set>
#include <sstream>
#include <utility>

#include "platform/linux_network_adapters.h"

namespace hx {

namespace fs = std::filesystem;

namespace {

std::string Dotted(const in_addr& address) {
    char text[INET_ADDRSTRLEN] = {};
    ::inet_ntop(AF_INET, &address, text, sizeof text);
    return text;
}

struct stFoundAdapter {
    int index = 0;
    in_addr_t rawAddress = 0;  // network order; 0 without an address
    stNetworkAdapter adapter;
};

void CollectHardware(const ifaddrs* list, std::vector<stFoundAdapter>& found) {
    for (const ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next) {
        if (entry->ifa_addr == nullptr || entry->ifa_addr->sa_family != AF_PACKET ||
            (entry->ifa_flags & IFF_LOOPBACK) != 0) {
            continue;
        }
        const auto* link = reinterpret_cast<const sockaddr_ll*>(entry->ifa_addr);
        if (link->sll_hatype != ARPHRD_ETHER || link->sll_halen != 6) {
            continue;
        }
        stFoundAdapter adapter;
        adapter.index = link->sll_ifindex;
        adapter.adapter.name = entry->ifa_name;
        std::copy_n(link->sll_addr, 6, adapter.adapter.mac.begin());
        found.push_back(std::move(adapter));
    }
}

// The first IPv4 address of each adapter; address labels ("eth0:1") count for their interface.
void CollectAddresses(const ifaddrs* list, std::vector<stFoundAdapter>& found) {
    for (const ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next) {
        if (entry->ifa_addr == nullptr || entry->ifa_addr->sa_family != AF_INET) {
            continue;
        }
        const std::string_view label = entry->ifa_name;
        const std::string_view name = label.substr(0, label.find(':'));
        auto match = std::find_if(found.begin(), found.end(), [name](const stFoundAdapter& f) {
            return f.adapter.name == name && f.adapter.ipAddress.empty();
        });
        if (match == found.end()) {
            continue;
        }
        const in_addr address = reinterpret_cast<const sockaddr_in*>(entry->ifa_addr)->sin_addr;
        match->rawAddress = address.s_addr;
        match->adapter.ipAddress = Dotted(address);
        if (entry->ifa_netmask != nullptr) {
            match->adapter.ipMask =
                Dotted(reinterpret_cast<const sockaddr_in*>(entry->ifa_netmask)->sin_addr);
        }
    }
}

using AddressKey = std::pair<int, in_addr_t>;

// Notes the interface and IPv4 address of one RTM_NEWADDR message when the
// address does not live for ever.
void NoteLeasedAddress(const nlmsghdr* message, std::set<AddressKey>& leased) {
    const auto* info = static_cast<const ifaddrmsg*>(NLMSG_DATA(message));
    uint32_t flags = info->ifa_flags;
    std::optional<in_addr_t> address;
    int length = static_cast<int>(IFA_PAYLOAD(message));
    for (const rtattr* attribute = IFA_RTA(info); RTA_OK(attribute, length);
         attribute = RTA_NEXT(attribute, length)) {
        if (attribute->rta_type == IFA_FLAGS && RTA_PAYLOAD(attribute) >= sizeof(uint32_t)) {
            std::memcpy(&flags, RTA_DATA(attribute), sizeof flags);
        } else if (attribute->rta_type == IFA_LOCAL &&
                   RTA_PAYLOAD(attribute) == sizeof(in_addr_t)) {
            in_addr_t value;
            std::memcpy(&value, RTA_DATA(attribute), sizeof value);
            address = value;
        }
    }
    if (address && (flags & IFA_F_PERMANENT) == 0) {
        leased.insert({static_cast<int>(info->ifa_index), *address});
    }
}

// Notes the leased addresses of one netlink reply; false once the dump has ended.
bool ReadAddressReply(const char* buffer, ssize_t size, std::set<AddressKey>& leased) {
    size_t offset = 0;
    const size_t total = static_cast<size_t>(size);
    // The NLMSG_OK/NLMSG_NEXT macros mix signed and unsigned lengths; this walks
    // the same aligned messages with unsigned arithmetic only.
    while (total - offset >= sizeof(nlmsghdr)) {
        const auto* message = reinterpret_cast<const nlmsghdr*>(buffer + offset);
        if (message->nlmsg_len < sizeof(nlmsghdr) || message->nlmsg_len > total - offset) {
            break;
        }
        offset += NLMSG_ALIGN(message->nlmsg_len);
        if (offset > total) {
            offset = total;
        }
        if (message->nlmsg_type == NLMSG_DONE || message->nlmsg_type == NLMSG_ERROR) {
            return false;
        }
        if (message->nlmsg_type == RTM_NEWADDR) {
            NoteLeasedAddress(message, leased);
        }
    }
    return true;
}

// IPv4 addresses whose lifetime runs out, i.e. that a DHCP client holds.
std::set<AddressKey> LeasedAddresses() {
    std::set<AddressKey> leased;
    const int fd = ::socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC, NETLINK_ROUTE);
    if (fd < 0) {
        return leased;
    }
    const timeval timeout{1, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    struct {
        nlmsghdr header;
        ifaddrmsg body;
    } request{};
    request.header.nlmsg_len = sizeof request;
    request.header.nlmsg_type = RTM_GETADDR;
    request.header.nlmsg_flags = NLM_F_REQUEST | NLM_F_DUMP;
    request.header.nlmsg_seq = 1;
    request.body.ifa_family = AF_INET;
    if (::send(fd, &request, sizeof request, 0) == static_cast<ssize_t>(sizeof request)) {
        alignas(nlmsghdr) char buffer[16384];
        ssize_t size;
        while ((size = ::recv(fd, buffer, sizeof buffer, 0)) > 0 &&
               ReadAddressReply(buffer, size, leased)) {
        }
    }
    ::close(fd);
    return leased;
}

std::string ReadWholeFile(const fs::path& file) {
    std::ifstream in(file);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

CLinuxNetworkAdapters::CLinuxNetworkAdapters(stNetworkSystemPaths paths)
    : m_paths(std::move(paths)) {}

std::vector<stNetworkAdapter> CLinuxNetworkAdapters::ListAdapters() const {
    ifaddrs* list = nullptr;
    if (::getifaddrs(&list) != 0) {
        return {};
    }
    std::vector<stFoundAdapter> found;
    CollectHardware(list, found);
    CollectAddresses(list, found);
    ::freeifaddrs(list);
    std::stable_sort(
        found.begin(), found.end(),
        [](const stFoundAdapter& a, const stFoundAdapter& b) { return a.index < b.index; });

    const std::string routeTable = ReadWholeFile(m_paths.routeTable);
    const std::set<AddressKey> leased = LeasedAddresses();
    std::vector<stNetworkAdapter> adapters;
    for (stFoundAdapter& entry : found) {
        stNetworkAdapter& adapter = entry.adapter;
        adapter.description = DescribeNetworkInterface(m_paths, adapter.name);
        adapter.gateway = DefaultGatewayOf(routeTable, adapter.name);
        adapter.dhcp =
            !adapter.ipAddress.empty() && leased.contains({entry.index, entry.rawAddress});
        adapters.push_back(std::move(adapter));
    }
    return adapters;
}

const CNetworkAdapterSource& SystemNetworkAdapters() {
    static const CLinuxNetworkAdapters adapters;
    return adapters;
}

}  // namespace hx
