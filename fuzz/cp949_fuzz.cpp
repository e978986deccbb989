// Any bytes as CP949 and as UTF-8: conversions never fail, decoded text
// converts back stably, and cuts never split a character.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz/fuzz_require.h"
#include "platform/cp949.h"
#include "platform/fixed_field.h"

namespace hx {

namespace {

constexpr size_t kFieldSizes[] = {0, 1, 2, 3, 16};
constexpr uint8_t kGuard = 0xA5;

void CheckCuts(std::string_view cp949, const std::string& utf8) {
    for (size_t maxBytes = 0; maxBytes <= cp949.size() && maxBytes < 64; ++maxBytes) {
        const size_t length = Cp949PrefixLength(cp949, maxBytes);
        Require(length <= maxBytes);
        Require(utf8.starts_with(Utf8FromCp949(cp949.substr(0, length))));
    }
}

void CheckFields(std::string_view utf8) {
    for (size_t size : kFieldSizes) {
        std::vector<uint8_t> record(size + 2, kGuard);
        const std::span<uint8_t> field(record.data() + 1, size);
        WriteTextField(field, utf8);
        Require(record.front() == kGuard && record.back() == kGuard);
        Require(size == 0 || field.back() == 0);
        Require(Cp949FromUtf8(ReadTextField(field)).size() + 1 <= std::max<size_t>(size, 1));
    }
}

}  // namespace

}  // namespace hx

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace hx;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    const std::string utf8 = Utf8FromCp949(bytes);
    const std::string cp949 = Cp949FromUtf8(utf8);
    Require(cp949.size() <= bytes.size());
    Require(Utf8FromCp949(cp949) == utf8);
    CheckCuts(cp949, utf8);

    const std::string fromUtf8 = Cp949FromUtf8(bytes);
    Require(fromUtf8.size() <= bytes.size());
    CheckFields(bytes);
    return 0;
}
