#include "platform/confined_path.h"

#include <optional>
#include <string>
#include <system_error>

namespace hx {

namespace fs = std::filesystem;

namespace {

bool IsSafeSegment(std::string_view segment) {
    return !segment.empty() && segment != "." && segment != ".." &&
           segment.find('\\') == std::string_view::npos &&
           segment.find('\0') == std::string_view::npos;
}

// Every segment of the relative path must name an entry below the folder:
// no empty segment (which would make the path absolute), no dot segments.
std::optional<fs::path> JoinSegments(const fs::path& folder, std::string_view relative) {
    fs::path joined = folder;
    while (true) {
        const std::size_t slash = relative.find('/');
        const std::string_view segment = relative.substr(0, slash);
        if (!IsSafeSegment(segment)) {
            return std::nullopt;
        }
        joined /= fs::path(std::string(segment));
        if (slash == std::string_view::npos) {
            return joined;
        }
        relative.remove_prefix(slash + 1);
    }
}

bool IsInside(const fs::path& folder, const fs::path& file) {
    auto folderPart = folder.begin();
    auto filePart = file.begin();
    for (; folderPart != folder.end(); ++folderPart, ++filePart) {
        if (filePart == file.end() || *filePart != *folderPart) {
            return false;
        }
    }
    return filePart != file.end();
}

}  // namespace

stLookup LookUpInside(const fs::path& folder, std::string_view relative) {
    const std::optional<fs::path> joined = JoinSegments(folder, relative);
    if (!joined) {
        return {enumLookup::Refused, {}};
    }
    std::error_code error;
    const fs::path realFolder = fs::canonical(folder, error);
    if (error) {
        return {};
    }
    const fs::path realFile = fs::canonical(*joined, error);
    if (error) {
        return {};
    }
    if (!IsInside(realFolder, realFile)) {
        return {enumLookup::Refused, {}};
    }
    if (!fs::is_regular_file(realFile, error)) {
        return {};
    }
    return {enumLookup::Found, realFile};
}

}  // namespace hx
