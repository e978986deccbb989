#include "platform/fixed_field.h"

#include <algorithm>

#include "platform/cp949.h"

namespace hx {

void WriteTextField(std::span<uint8_t> field, std::string_view utf8) {
    if (field.empty()) {
        return;
    }
    const std::string cp949 = Cp949FromUtf8(utf8);
    const size_t length = Cp949PrefixLength(cp949, field.size() - 1);
    const auto end = std::copy_n(cp949.begin(), length, field.begin());
    std::fill(end, field.end(), uint8_t{0});
}

void WriteTextField(char* field, size_t size, std::string_view utf8) {
    WriteTextField(std::span<uint8_t>(reinterpret_cast<uint8_t*>(field), size), utf8);
}

std::string ReadTextField(std::span<const uint8_t> field) {
    const auto end = std::find(field.begin(), field.end(), uint8_t{0});
    const std::string_view text(reinterpret_cast<const char*>(field.data()),
                                static_cast<size_t>(end - field.begin()));
    return Utf8FromCp949(text);
}

std::string ReadTextField(const char* field, size_t size) {
    return ReadTextField(std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(field), size));
}

}  // namespace hx
