// Any bytes as an INI file: every key reads within the buffer limits, and
// setting one key leaves every other key reading as before.
#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "fuzz/fuzz_require.h"
#include "platform/cp949.h"
#include "platform/ini_document.h"

namespace hx {

namespace {

constexpr size_t kKeysChecked = 200;
constexpr size_t kBufferSizes[] = {0, 1, 2, 3, 255, 1024};
constexpr const char* kUnset = "\x01unset";

bool SameAsciiName(std::string_view name, std::string_view lower) {
    return name.size() == lower.size() &&
           std::equal(name.begin(), name.end(), lower.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) == b;
           });
}

using NameList = std::vector<std::pair<std::string, std::string>>;

NameList KeyNames(const CIniDocument& document) {
    NameList names;
    std::string section;
    for (const stIniLine& line : document.Lines()) {
        if (line.kind == enumIniLine::Section) {
            section = Utf8FromCp949(line.name);
        } else if (line.kind == enumIniLine::Key && names.size() < kKeysChecked) {
            names.emplace_back(section, Utf8FromCp949(line.name));
        }
    }
    return names;
}

void CheckBufferLimits(const CIniDocument& document, const NameList& names) {
    for (const auto& [section, key] : names) {
        for (size_t bufferSize : kBufferSizes) {
            const std::string value = document.GetString(section, key, kUnset, bufferSize);
            Require(Cp949FromUtf8(value).size() + 1 <= std::max<size_t>(bufferSize, 1));
        }
    }
}

void CheckSetKeepsOtherKeys(const CIniDocument& document, const NameList& names) {
    CIniDocument edited = document;
    edited.SetString("Money", "RFCard", "12");
    const CIniDocument reread = CIniDocument::Parse(edited.Serialize());
    Require(reread.Serialize() == edited.Serialize());
    Require(reread.GetString("money", "rfcard", kUnset, 1024) == "12");
    for (const auto& [section, key] : names) {
        if (!SameAsciiName(section, "money") || !SameAsciiName(key, "rfcard")) {
            Require(reread.GetString(section, key, kUnset, 1024) ==
                    document.GetString(section, key, kUnset, 1024));
        }
    }
}

}  // namespace

}  // namespace hx

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace hx;
    const CIniDocument document =
        CIniDocument::Parse(std::string_view(reinterpret_cast<const char*>(data), size));
    const NameList names = KeyNames(document);
    CheckBufferLimits(document, names);
    CheckSetKeepsOtherKeys(document, names);
    return 0;
}
