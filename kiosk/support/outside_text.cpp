#include "kiosk/support/outside_text.h"

#include "platform/cp949.h"

namespace hx {

std::string CutOutsideText(std::string_view utf8) {
    const std::string cp949 = Cp949FromUtf8(utf8);
    if (cp949.size() <= kMaxOutsideTextBytes) {
        return std::string(utf8);
    }
    const size_t kept = Cp949PrefixLength(cp949, kMaxOutsideTextBytes);
    return Utf8FromCp949(std::string_view(cp949).substr(0, kept)) + "...(잘림, 전체 " +
           std::to_string(cp949.size()) + "바이트)";
}

}  // namespace hx
