#include "net/crc32_clmul.h"

#include "net/crc32.h"

#if defined(__x86_64__) || defined(__i386__)

#include <immintrin.h>

#include "net/crc32_tables.h"

// The message is a polynomial, first byte highest. A 16-byte lane A stands for
// A_hi * x^64 + A_lo; moving it d bits further along the message is
// A_hi * (x^(d+64) mod P) + A_lo * (x^d mod P), two carry-less products of
// under 96 bits, so lanes fold into one another without ever leaving 128 bits.
// The folded 128-bit remainder is then run through the byte table, which also
// supplies the final reduction.

namespace {

constexpr size_t kStripe = 64;

template <unsigned kDistanceBits>
__attribute__((target("pclmul,ssse3"))) inline __m128i FoldConstants() {
    constexpr long long kHigh = Crc32PowerOfX(kDistanceBits + 64);
    constexpr long long kLow = Crc32PowerOfX(kDistanceBits);
    return _mm_set_epi64x(kHigh, kLow);
}

__attribute__((target("pclmul,ssse3"))) inline __m128i Fold(__m128i lane, __m128i constants) {
    __m128i high = _mm_clmulepi64_si128(lane, constants, 0x11);
    __m128i low = _mm_clmulepi64_si128(lane, constants, 0x00);
    return _mm_xor_si128(high, low);
}

__attribute__((target("pclmul,ssse3"))) inline __m128i LoadMsbFirst(const uint8_t* p) {
    const __m128i reverse = _mm_setr_epi8(15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0);
    return _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)), reverse);
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
    // A running CRC is the same as its value XORed into the first four bytes.
    __m128i lane0 = _mm_xor_si128(LoadMsbFirst(p), _mm_set_epi32(static_cast<int>(crc), 0, 0, 0));
    __m128i lane1 = LoadMsbFirst(p + 16);
    __m128i lane2 = LoadMsbFirst(p + 32);
    __m128i lane3 = LoadMsbFirst(p + 48);
    p += kStripe;
    length -= kStripe;

    const __m128i byStripe = FoldConstants<8 * kStripe>();
    while (length >= kStripe) {
        lane0 = _mm_xor_si128(Fold(lane0, byStripe), LoadMsbFirst(p));
        lane1 = _mm_xor_si128(Fold(lane1, byStripe), LoadMsbFirst(p + 16));
        lane2 = _mm_xor_si128(Fold(lane2, byStripe), LoadMsbFirst(p + 32));
        lane3 = _mm_xor_si128(Fold(lane3, byStripe), LoadMsbFirst(p + 48));
        p += kStripe;
        length -= kStripe;
    }

    const __m128i byLane = FoldConstants<128>();
    __m128i acc =
        _mm_xor_si128(Fold(lane0, FoldConstants<384>()), Fold(lane1, FoldConstants<256>()));
    acc = _mm_xor_si128(acc, Fold(lane2, byLane));
    acc = _mm_xor_si128(acc, lane3);
    while (length >= 16) {
        acc = _mm_xor_si128(Fold(acc, byLane), LoadMsbFirst(p));
        p += 16;
        length -= 16;
    }

    alignas(16) uint8_t remainder[16];
    const __m128i reverse = _mm_setr_epi8(15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0);
    _mm_store_si128(reinterpret_cast<__m128i*>(remainder), _mm_shuffle_epi8(acc, reverse));
    return Crc32Sliced(p, length, Crc32Sliced(remainder, sizeof remainder, 0));
}

#else

bool Crc32ClmulSupported() {
    return false;
}

uint32_t Crc32Clmul(const uint8_t* data, size_t length, uint32_t crc) {
    return Crc32Sliced(data, length, crc);
}

#endif
