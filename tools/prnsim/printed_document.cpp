#include "tools/prnsim/printed_document.h"

#include "platform/cp949.h"

namespace hx {

namespace {

const char* AlignName(enumLineAlign align) {
    switch (align) {
        case enumLineAlign::Centre:
            return "centre";
        case enumLineAlign::Right:
            return "right";
        default:
            return "left";
    }
}

bool SameLook(const stPrintedChar& a, const stPrintedChar& b) {
    return a.width == b.width && a.height == b.height && a.bold == b.bold;
}

std::string Utf8Of(std::vector<stPrintedChar>::const_iterator first,
                   std::vector<stPrintedChar>::const_iterator last) {
    std::string cp949;
    for (auto character = first; character != last; ++character) {
        cp949 += character->bytes;
    }
    return Utf8FromCp949(cp949);
}

nlohmann::json RunsJson(const stPrintedLine& line) {
    nlohmann::json runs = nlohmann::json::array();
    auto start = line.chars.begin();
    while (start != line.chars.end()) {
        auto end = start;
        while (end != line.chars.end() && SameLook(*end, *start)) {
            ++end;
        }
        runs.push_back(
            {{"text", Utf8Of(start, end)},
             {"size", std::to_string(start->width) + "x" + std::to_string(start->height)},
             {"bold", start->bold}});
        start = end;
    }
    return runs;
}

}  // namespace

int CharWidthDots(const stPrintedChar& character) {
    const int cells = character.bytes.size() == 2 ? 2 : 1;
    return cells * kDotsPerColumn * character.width;
}

int CharHeightDots(const stPrintedChar& character) {
    return kCellHeightDots * character.height;
}

int LineLeft(const stPrintedLine& line, int paperWidth) {
    const int room = paperWidth > line.width ? paperWidth - line.width : 0;
    switch (line.align) {
        case enumLineAlign::Centre:
            return room / 2;
        case enumLineAlign::Right:
            return room;
        default:
            return 0;
    }
}

std::string LineText(const stPrintedLine& line) {
    return Utf8Of(line.chars.begin(), line.chars.end());
}

std::vector<std::string> DocumentTextLines(const stPrintedDocument& document) {
    std::vector<std::string> lines;
    lines.reserve(document.lines.size() + 1);
    for (const stPrintedLine& line : document.lines) {
        lines.push_back(LineText(line));
    }
    lines.push_back("---- cut ----");
    return lines;
}

std::string CutOffName(enumCutOff reason) {
    switch (reason) {
        case enumCutOff::Bytes:
            return "bytes";
        case enumCutOff::Lines:
            return "lines";
        default:
            return "paper";
    }
}

nlohmann::json DocumentLayoutJson(const stPrintedDocument& document) {
    nlohmann::json lines = nlohmann::json::array();
    for (const stPrintedLine& line : document.lines) {
        lines.push_back({{"text", LineText(line)},
                         {"align", AlignName(line.align)},
                         {"top", line.top},
                         {"height", line.height},
                         {"feed", line.feed},
                         {"runs", RunsJson(line)}});
    }
    nlohmann::json layout = {{"width", document.paperWidth},
                             {"height", document.height},
                             {"lines", std::move(lines)},
                             {"badBytes", document.badBytes}};
    if (document.cutOff) {
        layout["cutOff"] = CutOffName(*document.cutOff);
    }
    return layout;
}

}  // namespace hx
