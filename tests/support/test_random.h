#pragma once
// Random data for tests. A seeded generator gives the same values on every
// run and every machine, so a failure repeats; a fresh seed is for tests that
// vary on purpose and print the seed they used.

#include <cstddef>
#include <cstdint>
#include <random>
#include <vector>

namespace hx {

class CTestRandom {
public:
    explicit CTestRandom(std::uint32_t seed) : m_engine(seed) {}

    std::uint32_t Next() { return static_cast<std::uint32_t>(m_engine()); }
    // Each byte below `alphabet` (1 to 256): a small alphabet gives long runs
    // and data that compresses, 256 gives noise.
    std::vector<std::uint8_t> Bytes(std::size_t length, unsigned alphabet = 256);

private:
    std::mt19937 m_engine;
};

// `length` bytes of noise from `seed`.
std::vector<std::uint8_t> RandomBytes(std::size_t length, std::uint32_t seed);

// A seed that differs from run to run.
std::uint32_t FreshSeed();

}  // namespace hx
