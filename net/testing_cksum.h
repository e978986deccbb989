#pragma once
// For tests and benchmarks: the system's cksum uses the framing's CRC-32
// polynomial, so it is an independent implementation to agree with and to
// measure against. It feeds the length after the data and inverts the result.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>

#include "net/crc32.h"
#include "tests/support/child_process.h"
#include "tests/support/file_text.h"

namespace hx {

// The value cksum prints for `data`: our CRC continued over the length, inverted.
inline std::uint32_t CksumOf(std::span<const std::uint8_t> data) {
    std::uint32_t crc = Crc32(data.data(), data.size());
    for (std::size_t n = data.size(); n != 0; n >>= 8) {
        const auto byte = static_cast<std::uint8_t>(n);
        crc = Crc32(&byte, 1, crc);
    }
    return ~crc;
}

// Runs "cksum FILE" with its output beside the file; the value it printed, or
// nullopt when there is no cksum or it failed.
inline std::optional<std::uint32_t> RunSystemCksum(const std::filesystem::path& file) {
    stChildLaunch launch;
    launch.args = {"cksum", file.string()};
    launch.outputFile = file.string() + ".cksum";
    CChildProcess cksum;
    if (!cksum.Start(launch) || cksum.WaitForExit() != 0) {
        return std::nullopt;
    }
    const std::string output = ReadWholeFile(launch.outputFile);
    if (output.empty() || output[0] < '0' || output[0] > '9') {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(std::stoul(output));
}

}  // namespace hx
