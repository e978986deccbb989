#include "net/crc32_tables.h"

namespace hx {

namespace {

struct stTables {
    Crc32Table t;

    stTables() {
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t c = i << 24;
            for (int bit = 0; bit < 8; ++bit) {
                c = (c & 0x80000000u) ? (c << 1) ^ kCrc32Polynomial : c << 1;
            }
            t[0][i] = c;
        }
        for (int k = 1; k < 8; ++k) {
            for (uint32_t i = 0; i < 256; ++i) {
                uint32_t prev = t[k - 1][i];
                t[k][i] = (prev << 8) ^ t[0][prev >> 24];
            }
        }
    }
};

}  // namespace

const Crc32Table& GetCrc32Tables() {
    static const stTables tables;
    return tables.t;
}

}  // namespace hx
