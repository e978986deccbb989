#pragma once
// A device simulator's pseudo-terminal is reached through a link, e.g.
// DRIVE/dosdevices/com4 -> /dev/pts/7, made at start and removed at the end.

#include <filesystem>
#include <string>

namespace hx {

// Makes `link` point at `target`, replacing a link left by an earlier run but
// never a file or folder. False with the reason.
bool MakeSlaveLink(const std::filesystem::path& link, const std::string& target,
                   std::string& error);
// Removes `link` only while it still points at `target`: another run may have
// taken the name over meanwhile.
void RemoveSlaveLink(const std::filesystem::path& link, const std::string& target);

}  // namespace hx
