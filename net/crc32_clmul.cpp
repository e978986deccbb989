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

// The CRC of the message whose folded 128-bit remainder this is.
__attribute__((target("pclmul,ssse3"))) inline uint32_t RemainderCrc(__m128i acc) {
    alignas(16) uint8_t remainder[16];
    _mm_store_si128(reinterpret_cast<__m128i*>(remainder), ReverseBytes(acc));
    return Crc32Sliced(remainder, sizeof remainder, 0);
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

    return Crc32Sliced(p, length, RemainderCrc(acc));
}

// The same folding with 512-bit registers: four 16-byte lanes per register and
// one carry-less multiply instruction for all four.

namespace {

constexpr size_t kWideRegisters = 4;
constexpr size_t kWideStripe = 64 * kWideRegisters;
constexpr size_t kWideLanes = kWideStripe / 16;

#define HX_WIDE_TARGET __attribute__((target("pclmul,ssse3,avx512f,avx512bw,vpclmulqdq")))

// The masked form: GCC 12 warns that the plain one reads an undefined value.
HX_WIDE_TARGET inline __m512i Broadcast(__m128i lane) {
    return _mm512_maskz_broadcast_i32x4(0xFFFF, lane);
}

HX_WIDE_TARGET inline __m512i WideLoadMsbFirst(const uint8_t* p) {
    const __m512i reverse =
        Broadcast(_mm_setr_epi8(15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0));
    return _mm512_shuffle_epi8(_mm512_loadu_si512(p), reverse);
}

HX_WIDE_TARGET inline __m512i WideFold(__m512i lanes, __m512i constants) {
    return _mm512_xor_si512(_mm512_clmulepi64_epi128(lanes, constants, 0x11),
                            _mm512_clmulepi64_epi128(lanes, constants, 0x00));
}

template <size_t... kLane>
HX_WIDE_TARGET inline __m128i CombineWideLanes(const __m128i* lanes,
                                               std::index_sequence<kLane...>) {
    __m128i acc = lanes[kWideLanes - 1];
    ((acc =
          _mm_xor_si128(acc, Fold(lanes[kLane], FoldConstants<128 * (kWideLanes - 1 - kLane)>()))),
     ...);
    return acc;
}

}  // namespace

bool Crc32WideClmulSupported() {
    return Crc32ClmulSupported() && __builtin_cpu_supports("avx512f") &&
           __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("vpclmulqdq");
}

HX_WIDE_TARGET uint32_t Crc32WideClmul(const uint8_t* p, size_t length, uint32_t crc) {
    if (length < 2 * kWideStripe) {
        return Crc32Clmul(p, length, crc);
    }
    __m512i registers[kWideRegisters];
    for (size_t i = 0; i < kWideRegisters; ++i) {
        registers[i] = WideLoadMsbFirst(p + 64 * i);
    }
    registers[0] = _mm512_xor_si512(
        registers[0], _mm512_zextsi128_si512(_mm_set_epi32(static_cast<int>(crc), 0, 0, 0)));
    p += kWideStripe;
    length -= kWideStripe;

    const __m512i byStripe = Broadcast(FoldConstants<8 * kWideStripe>());
    for (; length >= kWideStripe; p += kWideStripe, length -= kWideStripe) {
        for (size_t i = 0; i < kWideRegisters; ++i) {
            registers[i] =
                _mm512_xor_si512(WideFold(registers[i], byStripe), WideLoadMsbFirst(p + 64 * i));
        }
    }

    // Register i holds lanes 4i to 4i + 3, lowest first, in message order.
    alignas(64) __m128i lanes[kWideLanes];
    for (size_t i = 0; i < kWideRegisters; ++i) {
        _mm512_store_si512(&lanes[4 * i], registers[i]);
    }
    const __m128i acc = CombineWideLanes(lanes, std::make_index_sequence<kWideLanes - 1>());
    return Crc32Clmul(p, length, RemainderCrc(acc));
}

#undef HX_WIDE_TARGET

}  // namespace hx

#else

namespace hx {

bool Crc32ClmulSupported() {
    return false;
}

uint32_t Crc32Clmul(const uint8_t* data, size_t length, uint32_t crc) {
    return Crc32Sliced(data, length, crc);
}

bool Crc32WideClmulSupported() {
    return false;
}

uint32_t Crc32WideClmul(const uint8_t* data, size_t length, uint32_t crc) {
    return Crc32Sliced(data, length, crc);
}

}  // namespace hx

#endif
