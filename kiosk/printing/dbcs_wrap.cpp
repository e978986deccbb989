#include "kiosk/printing/dbcs_wrap.h"

#include <algorithm>

#include "platform/cp949.h"

namespace hx {

namespace {

constexpr size_t kFirstLineBytes = 25;
constexpr size_t kLineBytes = 42;

}  // namespace

size_t CutDbcs(std::string_view cp949, size_t limit) {
    size_t cut = std::min(limit, cp949.size());
    for (size_t at = 0; at < limit && at < cp949.size(); at += Cp949CharLength(cp949, at)) {
        // Never before the first character: that line would be empty and the
        // wrapping would not advance, while the one-byte characters after it
        // fit up to the limit.
        if (at > 0 && Cp949CharLength(cp949, at) == 2) {
            cut = at;
        }
    }
    return cut;
}

std::vector<std::string> WrapAddress(std::string_view cp949) {
    if (cp949.size() <= kFirstLineBytes) {
        return {std::string(cp949)};
    }
    const size_t firstCut = CutDbcs(cp949, kFirstLineBytes);
    std::vector<std::string> lines{std::string(cp949.substr(0, firstCut))};
    std::string_view rest = cp949.substr(firstCut);
    while (!rest.empty()) {
        const size_t cut = rest.size() < kLineBytes ? rest.size() : CutDbcs(rest, kLineBytes);
        lines.emplace_back(rest.substr(0, cut));
        rest.remove_prefix(cut);
    }
    return lines;
}

}  // namespace hx
