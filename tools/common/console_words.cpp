#include "tools/common/console_words.h"

#include <sstream>

namespace hx {

std::vector<std::string> SplitWords(std::string_view line) {
    std::istringstream stream{std::string(line)};
    std::vector<std::string> words;
    std::string word;
    while (stream >> word) {
        words.push_back(word);
    }
    return words;
}

std::optional<bool> OnOff(const std::string& word) {
    if (word == "on") {
        return true;
    }
    if (word == "off") {
        return false;
    }
    return std::nullopt;
}

}  // namespace hx
