#include "kiosk/printing/pos_format_words.h"

#include <initializer_list>

namespace hx {

namespace {

struct stFormatWord {
    std::string_view word;
    std::initializer_list<uint8_t> bytes;
};

const stFormatWord kWords[] = {
    {"setBold", {0x1B, 'E', 1}},
    {"clrBold", {0x1B, 'E', 0}},
    {"setCenter", {0x1B, 'a', 1}},
    {"setLeft", {0x1B, 'a', 0}},
    {"setNormal", {0x1D, '!', 0x00, 0x1B, 'E', 0}},
    {"setDoubleWidth", {0x1D, '!', 0x10}},
    {"PatialCut", {0x1D, 'V', 1}},
};

bool IsLeadByte(uint8_t byte) {
    return byte >= 0x81 && byte <= 0xFE;
}

}  // namespace

std::vector<uint8_t> TranslateFormatWords(std::string_view document) {
    std::vector<uint8_t> out;
    out.reserve(document.size());
    size_t at = 0;
    while (at < document.size()) {
        const std::string_view rest = document.substr(at);
        const stFormatWord* found = nullptr;
        for (const stFormatWord& word : kWords) {
            if (rest.starts_with(word.word)) {
                found = &word;
                break;
            }
        }
        if (found != nullptr) {
            out.insert(out.end(), found->bytes);
            at += found->word.size();
            continue;
        }
        const size_t length = IsLeadByte(static_cast<uint8_t>(rest[0])) && rest.size() > 1 ? 2 : 1;
        out.insert(out.end(), rest.begin(), rest.begin() + static_cast<std::ptrdiff_t>(length));
        at += length;
    }
    return out;
}

}  // namespace hx
