// Rewrites the four float counts of a SaveMoney.ini in a tight loop, all four
// equal within one write and growing by one each time, until it is killed.
// Usage: save_money_writer FILE FIRST_VALUE COUNT. Prints the line "ready"
// once the first write is complete.
#include <cstdio>
#include <string>
#include <vector>

#include "platform/ini_file.h"

int main(int argc, char** argv) {
    using namespace hx;
    if (argc != 4) {
        return 2;
    }
    const std::filesystem::path file = argv[1];
    const int first = AsciiToInt(argv[2]);
    const int count = AsciiToInt(argv[3]);
    for (int value = first; value < first + count; ++value) {
        const std::string text = std::to_string(value);
        const std::vector<stIniEntry> counts = {
            {"1000", text}, {"5000", text}, {"10000", text}, {"RFCard", text}};
        if (!WritePrivateProfileKeys("Money", counts, file)) {
            return 1;
        }
        if (value == first && (std::fputs("ready\n", stdout) < 0 || std::fflush(stdout) != 0)) {
            return 1;
        }
    }
    return 0;
}
