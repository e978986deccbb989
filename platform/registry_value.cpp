#include "platform/registry_value.h"

#include <algorithm>

namespace hx {

stRegValue MakeStringValue(std::string_view utf8, enumRegType type) {
    stRegValue value{type, std::vector<std::uint8_t>(utf8.begin(), utf8.end())};
    value.data.push_back(0);
    if (type == enumRegType::MultiSz) {
        value.data.push_back(0);
    }
    return value;
}

stRegValue MakeDwordValue(std::uint32_t number) {
    return {enumRegType::Dword,
            {static_cast<std::uint8_t>(number), static_cast<std::uint8_t>(number >> 8),
             static_cast<std::uint8_t>(number >> 16), static_cast<std::uint8_t>(number >> 24)}};
}

std::optional<std::string> StringFromValue(const stRegValue& value) {
    if (value.type != enumRegType::Sz && value.type != enumRegType::ExpandSz &&
        value.type != enumRegType::MultiSz) {
        return std::nullopt;
    }
    auto end = std::find(value.data.begin(), value.data.end(), std::uint8_t{0});
    return std::string(value.data.begin(), end);
}

std::optional<std::uint32_t> DwordFromValue(const stRegValue& value) {
    if (value.type != enumRegType::Dword || value.data.size() != 4) {
        return std::nullopt;
    }
    const auto& d = value.data;
    return std::uint32_t{d[0]} | std::uint32_t{d[1]} << 8 | std::uint32_t{d[2]} << 16 |
           std::uint32_t{d[3]} << 24;
}

const char* RegTypeName(enumRegType type) {
    switch (type) {
        case enumRegType::Sz:
            return "REG_SZ";
        case enumRegType::ExpandSz:
            return "REG_EXPAND_SZ";
        case enumRegType::Binary:
            return "REG_BINARY";
        case enumRegType::Dword:
            return "REG_DWORD";
        case enumRegType::MultiSz:
            return "REG_MULTI_SZ";
    }
    return "REG_UNKNOWN";
}

}  // namespace hx
