#include "net/crc32_clmul.h"

#include "net/crc32.h"

#if defined(__x86_64__) || defined(__i386__)

#include <immintrin.h>

#include <utility>

#include "net/crc32_tables.h"

namespace hx {

// The message is a polynomial, first byte highest. A 16-byte lane A stands for
// A_hi * x^64 + A_lo; moving it d bits further along the message is
// A_hi * (x^(d+64) mod P) + A_lo * (x^d mod P), two carry-less products of
// under 96 bits, so lanes fold into one another without ever leaving 128 bits.
// The folded 128-bit remainder is then run through the byte table, which also
// supplies the final reduction.

namespace {

constexpr size_t kLanes = 8;
constexpr size_t kStripe = 16 * kLanes;

template <unsigned kDistanceBits>
__attribute__((target("pclmul,ssse3"))) inline __m128i FoldConstants() {
    constexpr auto kHigh = static_cast<long long>(Crc32PowerOfX(kDistanceBits + 64));
    constexpr auto kLow = static_cast<long long>(Crc32PowerOfX(kDistanceBits));
    return _mm_set_epi64x(kHigh, kLow);
}

__attribute__((target("pclmul,ssse3"))) inline __m128i Fold(__m128i lane, __m128i constants) {
    __m128i high = _mm_clmulepi64_si128(lane, constants, 0x11);
    __m128i low = _mm_clmulepi64_si128(lane, constants, 0x00);
    return _mm_xor_si128(high, low);
}

__attribute__((target("pclmul,ssse3"))) inline __m128i ReverseBytes(__m128i v) {
    const __m128i reverse = _mm_setr_epi8(15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0);
    return _mm_shuffle_epi8(v, reverse);
}

__attribute__((target("pclmul,ssse3"))) inline __m128i LoadMsbFirst(const uint8_t* p) {
    return ReverseBytes(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
}

// The loops over lanes, unrolled at compile time so the lanes stay in
// registers.
template <size_t... kLane>
__attribute__((target("pclmul,ssse3"))) inline void FoldStripe(__m128i* lanes, const uint8_t* p,
                                                               __m128i constants,
                                                               std::index_sequence<kLane...>) {
    ((lanes[kLane] = _mm_xor_si128(Fold(lanes[kLane], constants), LoadMsbFirst(p + 16 * kLane))),
     ...);
}

template <size_t... kLane>
__attribute__((target("pclmul,ssse3"))) inline __m128i CombineLanes(const __m128i* lanes,
                                                                    std::index_sequence<kLane...>) {
    __m128i acc = lanes[kLanes - 1];
    ((acc = _mm_xor_si128(acc, Fold(lanes[kLane], FoldConstants<128 * (kLanes - 1 - kLane)>()))),
     ...);
    return acc;
}

}  // namespace

bool Crc32ClmulSupported() {
    return __builtin_cpu_supports("pclmul") && __builtin_cpu_supports("ssse3");
}

__attribute__((target("pclmul,ssse3"))) uint32_t Crc32Clmul(const uint8_t* p, size_t length,
                                                            uint32_t crc) {
    if (length < 2 * kStripe) {
        return Crc32Sliced(p, length, crc);
    }
    __m128i lanes[kLanes];
    for (size_t i = 0; i < kLanes; ++i) {
        lanes[i] = LoadMsbFirst(p + 16 * i);
    }
    // A running CRC is the same as its value XORed into the first four bytes.
    lanes[0] = _mm_xor_si128(lanes[0], _mm_set_epi32(static_cast<int>(crc), 0, 0, 0));
    p += kStripe;
    length -= kStripe;

    const __m128i byStripe = FoldConstants<8 * kStripe>();
    while (length >= kStripe) {
        FoldStripe(lanes, p, byStripe, std::make_index_sequence<kLanes>());
        p += kStripe;
        length -= kStripe;
    }

    // Lane i lies kLanes - 1 - i lanes before the last one.
    __m128i acc = CombineLanes(lanes, std::make_index_sequence<kLanes - 1>());
    const __m128i byLane = FoldConstants<128>();
    while (length >= 16) {
        acc = _mm_xor_si128(Fold(acc, byLane), LoadMsbFirst(p));
        p += 16;
        length -= 16;
    }

    alignas(16) uint8_t remainder[16];
    _mm_store_si128(reinterpret_cast<__m128i*>(remainder), ReverseBytes(acc));
    return Crc32Sliced(p, length, Crc32Sliced(remainder, sizeof remainder, 0));
}

}  // namespace hx

#else

namespace hx {

bool Crc32ClmulSupported() {
    return false;
}

uint32_t Crc32Clmul(const uint8_t* data, size_t length, uint32_t crc) {
    return Crc32Sliced(data, length, crc);
}

}  // namespace hx

#endif
