#include "channel/server_ip_pool.h"

#include <climits>
#include <filesystem>

#include "channel/channel_settings_defaults.h"
#include "platform/drive.h"
#include "platform/envr.h"
#include "platform/ini_file.h"

namespace hx {

namespace {

constexpr const char* kSection = "TCP/IP";
constexpr const char* kNextIndexName = "NextIndex";
constexpr const char* kDefaultFurtherServer = "";
constexpr const char* kLoopbackServer = "127.0.0.1";

constexpr const char* kWinIniSection = "ZP.Agent";
constexpr const char* kWinIniKey = "Server";
constexpr size_t kWinIniServerBuffer = 64;  // at most 63 characters

bool HasWindowsFolder() {
    std::error_code error;
    return std::filesystem::is_directory(GetWindowsFolder(), error);
}

}  // namespace

std::string ServerEntryAddress(std::string_view entry) {
    return std::string(entry.substr(0, entry.find(':')));
}

uint32_t ServerEntryMask(std::string_view entry) {
    const size_t colon = entry.find(':');
    if (colon == std::string_view::npos) {
        return 0;
    }
    std::string_view rest = entry.substr(colon + 1);
    uint32_t mask = 0;
    for (int part = 0; part < 4; ++part) {
        // A part with no dot after it, or that starts with one, runs to the end.
        const size_t dot = rest.find('.');
        const bool last = dot == std::string_view::npos || dot == 0;
        const auto byte = static_cast<uint8_t>(AsciiToInt(last ? rest : rest.substr(0, dot)));
        mask |= static_cast<uint32_t>(byte) << (8 * part);
        if (last) {
            break;
        }
        rest.remove_prefix(dot + 1);
    }
    return mask;
}

CServerIpPool::CServerIpPool() {
    Load(CEnvr().GetInt(kSection, kNextIndexName, kDefaultNextIndex));
}

void CServerIpPool::Load(int index) {
    m_index = index;
    m_entry = GetServerData(index);
}

void CServerIpPool::MoveNext() {
    Load(CEnvr().GetInt(kSection, kNextIndexName, kDefaultNextIndex));
    if (m_entry.empty()) {
        ResetIndex(0);
        m_entry = GetWiniIniServer("");
        if (m_entry.empty()) {
            m_entry = GetServerData(0);
        }
        return;
    }
    // A stored index at the very top has no entry after it; start over
    // rather than overflow.
    if (m_index == INT_MAX || GetServerData(m_index + 1).empty()) {
        ResetIndex(-1);
    } else {
        ResetIndex(m_index + 1);
    }
}

std::string CServerIpPool::GetAddress() const {
    return ServerEntryAddress(m_entry);
}

uint32_t CServerIpPool::GetMask() const {
    return ServerEntryMask(m_entry);
}

std::string CServerIpPool::GetServerData(int index) {
    const std::string key = GetKey(index);
    if (index != 0) {
        return CEnvr().GetString(kSection, key.c_str(),
                                 index < 0 ? kDefaultMainServer : kDefaultFurtherServer);
    }
    const std::string entry =
        CEnvr().GetString(kSection, key.c_str(), GetWiniIniServer("").c_str());
    return entry.empty() ? kLoopbackServer : entry;
}

bool CServerIpPool::WriteServerData(int index, const std::string& entry) {
    return CEnvr().WriteString(kSection, GetKey(index).c_str(), entry.c_str());
}

std::string CServerIpPool::GetKey(int index) {
    if (index < 0) {
        return "MainServer";
    }
    return index == 0 ? "Server" : "Server" + std::to_string(index);
}

void CServerIpPool::ResetIndex(int index) {
    m_index = index;
    CEnvr().WriteInt(kSection, kNextIndexName, index);
}

std::string CServerIpPool::GetWiniIniServer(const std::string& defaultValue) {
    if (!HasWindowsFolder()) {
        return defaultValue;
    }
    return GetProfileString(kWinIniSection, kWinIniKey, defaultValue, kWinIniServerBuffer);
}

bool CServerIpPool::WriteWiniIniServer(const std::string& address) {
    return HasWindowsFolder() && WriteProfileString(kWinIniSection, kWinIniKey, address.c_str());
}

}  // namespace hx
