#include "platform/caseless_lookup.h"

#include <algorithm>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

namespace hx {

namespace fs = std::filesystem;

namespace {

// The entry of folder that is `name` regardless of case, first in name order.
std::optional<std::string> EntryIgnoringCase(const fs::path& folder, std::string_view name) {
    std::vector<std::string> matches;
    std::error_code error;
    for (fs::directory_iterator entry(folder, error); !error && entry != fs::directory_iterator();
         entry.increment(error)) {
        std::string entryName = entry->path().filename().string();
        if (SameNameIgnoringCase(entryName, name)) {
            matches.push_back(std::move(entryName));
        }
    }
    if (matches.empty()) {
        return std::nullopt;
    }
    return *std::min_element(matches.begin(), matches.end());
}

}  // namespace

std::optional<std::string> SpellingInside(const fs::path& folder, std::string_view relative) {
    fs::path current = folder;
    std::string spelled;
    while (true) {
        const size_t slash = relative.find('/');
        const std::string_view segment = relative.substr(0, slash);
        // Such a segment would lead out of the folder or up from it.
        if (segment.empty() || segment == "." || segment == "..") {
            return std::nullopt;
        }
        std::error_code error;
        std::optional<std::string> found(segment);
        if (!fs::exists(current / *found, error)) {
            found = EntryIgnoringCase(current, segment);
        }
        if (!found) {
            return std::nullopt;
        }
        spelled += *found;
        current /= *found;
        if (slash == std::string_view::npos) {
            return spelled;
        }
        spelled += '/';
        relative.remove_prefix(slash + 1);
    }
}

stLookup LookUpInsideIgnoringCase(const fs::path& folder, std::string_view relative) {
    const stLookup exact = LookUpInside(folder, relative);
    if (exact.result != enumLookup::Missing) {
        return exact;
    }
    // Whatever spelling is found goes through the same confinement again.
    const std::optional<std::string> spelled = SpellingInside(folder, relative);
    return spelled ? LookUpInside(folder, *spelled) : exact;
}

}  // namespace hx
