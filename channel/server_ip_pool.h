#pragma once
// The rotating list of server addresses tried one per connect. Entries live in
// the application's "TCP/IP" settings: "MainServer" (index -1), "Server" (0),
// "Server1", "Server2", ... (1 and up); the first empty entry after index 0
// ends the list. The address of the last server that completed a handshake is
// kept in Win.ini ([ZP.Agent] Server) and stands in for an empty entry 0.
//
// An entry is an address, optionally followed by ":" and a dotted mask. The
// address "*" asks for discovery by broadcast (CAutoFindServer).
//
// All state is in the stores, so a pool is made for one use and dropped.

#include <cstdint>
#include <string>
#include <string_view>

namespace hx {

class CServerIpPool {
public:
    // Reads "NextIndex" and loads its entry.
    CServerIpPool();

    // Makes the entry to use now current and moves "NextIndex" on: the
    // entries -1, 0, 1, ... up to the last non-empty one, then -1 again. An
    // empty entry restarts at 0 with the Win.ini server (else entry 0).
    void MoveNext();

    const std::string& GetEntry() const { return m_entry; }
    // The address part of the current entry.
    std::string GetAddress() const;
    // The mask of the current entry, first byte lowest; 0 without a mask.
    uint32_t GetMask() const;

    // The entry of an index, stored with its default when missing. Entry 0
    // defaults to the Win.ini server and reads "127.0.0.1" when empty.
    static std::string GetServerData(int index);
    std::string GetServerData() const { return GetServerData(m_index); }
    static bool WriteServerData(int index, const std::string& entry);
    // "MainServer" for a negative index, "Server" for 0, "Server%d" above.
    static std::string GetKey(int index);

    // Makes index current and stores it as "NextIndex".
    void ResetIndex(int index);

    // The Win.ini server, or defaultValue when it or the Windows folder is missing.
    static std::string GetWiniIniServer(const std::string& defaultValue);
    // False, writing nothing, when the Windows folder is missing.
    static bool WriteWiniIniServer(const std::string& address);

private:
    void Load(int index);

    int m_index = 0;
    std::string m_entry;
};

// The parts of an entry: the text before the first ":" (all of it without
// one), and the mask after it as four bytes, first part lowest.
std::string ServerEntryAddress(std::string_view entry);
uint32_t ServerEntryMask(std::string_view entry);

}  // namespace hx
