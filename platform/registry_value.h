#pragma once
// Typed registry values: the Windows type codes and the byte layouts the kiosk
// reads and writes. Strings are UTF-8 inside the program and are stored with
// their terminating zero, as Windows counts it in the value's size.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hx {

enum class enumRegType : std::uint32_t {
    Sz = 1,
    ExpandSz = 2,
    Binary = 3,
    Dword = 4,
    MultiSz = 7,
};

struct stRegValue {
    enumRegType type = enumRegType::Binary;
    std::vector<std::uint8_t> data;

    bool operator==(const stRegValue&) const = default;
};

struct stRegNamedValue {
    std::string name;
    stRegValue value;
};

stRegValue MakeStringValue(std::string_view utf8, enumRegType type = enumRegType::Sz);
stRegValue MakeDwordValue(std::uint32_t number);

// The text of a string, expandable-string or multi-string value (its first
// string), cut at the first zero; nullopt for any other type.
std::optional<std::string> StringFromValue(const stRegValue& value);

// The number of a REG_DWORD value of exactly four bytes; nullopt otherwise.
std::optional<std::uint32_t> DwordFromValue(const stRegValue& value);

// "REG_SZ", "REG_DWORD", ...; "REG_UNKNOWN" for a type the kiosk does not use.
const char* RegTypeName(enumRegType type);

}  // namespace hx
