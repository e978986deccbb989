#pragma once
// Reads packed bytes back at literal offsets, independently of the layouts
// under test, so a mistake shared by Pack and Unpack still shows.

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace hx {

inline uint32_t Le32At(const std::vector<uint8_t>& bytes, size_t offset) {
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i) {
        value |= static_cast<uint32_t>(bytes.at(offset + i)) << (8 * i);
    }
    return value;
}

inline int32_t Int32At(const std::vector<uint8_t>& bytes, size_t offset) {
    return static_cast<int32_t>(Le32At(bytes, offset));
}

inline int64_t Int64At(const std::vector<uint8_t>& bytes, size_t offset) {
    const uint64_t low = Le32At(bytes, offset);
    const uint64_t high = Le32At(bytes, offset + 4);
    return static_cast<int64_t>(low | (high << 32));
}

inline void SetLe32(std::vector<uint8_t>& bytes, size_t offset, uint32_t value) {
    for (size_t i = 0; i < 4; ++i) {
        bytes.at(offset + i) = static_cast<uint8_t>(value >> (8 * i));
    }
}

// The raw bytes of a text field up to its first zero.
inline std::string RawTextAt(const std::vector<uint8_t>& bytes, size_t offset) {
    std::string text;
    for (size_t i = offset; i < bytes.size() && bytes[i] != 0; ++i) {
        text.push_back(static_cast<char>(bytes[i]));
    }
    return text;
}

// Command, size and magic of the header, nothing else in it.
inline void ExpectBareHeader(const std::vector<uint8_t>& packet, uint32_t command, size_t size) {
    ASSERT_EQ(packet.size(), size);
    EXPECT_EQ(Le32At(packet, 0), command);
    EXPECT_EQ(Le32At(packet, 4), size);
    for (size_t offset = 8; offset < 32; offset += 4) {
        EXPECT_EQ(Le32At(packet, offset), 0u) << "header offset " << offset;
    }
    EXPECT_EQ(Le32At(packet, 32), 0x5678u);
}

struct stByteRange {
    size_t offset;
    size_t width;
};

// Every byte from `from` on that lies outside the given fields is zero.
inline void ExpectZeroOutside(const std::vector<uint8_t>& bytes, size_t from,
                              std::initializer_list<stByteRange> fields) {
    for (size_t i = from; i < bytes.size(); ++i) {
        bool inField = false;
        for (const auto& field : fields) {
            inField = inField || (i >= field.offset && i < field.offset + field.width);
        }
        if (!inField) {
            ASSERT_EQ(bytes[i], 0) << "byte " << i;
        }
    }
}

}  // namespace hx
