#include "tools/frontdesk/control_command.h"

#include "tools/frontdesk/named_fields.h"

namespace hx {

namespace {

struct stWord {
    std::string text;
    size_t equals = std::string::npos;  // the first "=" outside quotes
};

bool SplitWords(std::string_view line, std::vector<stWord>& words, std::string& error) {
    stWord word;
    bool inWord = false;
    bool quoted = false;
    for (const char c : line) {
        if (c == '"') {
            quoted = !quoted;
            inWord = true;
        } else if (!quoted && (c == ' ' || c == '\t' || c == '\r' || c == '\n')) {
            if (inWord) {
                words.push_back(word);
            }
            word = {};
            inWord = false;
        } else {
            if (c == '=' && !quoted && word.equals == std::string::npos) {
                word.equals = word.text.size();
            }
            word.text += c;
            inWord = true;
        }
    }
    if (quoted) {
        error = "a quote is not closed";
        return false;
    }
    if (inWord) {
        words.push_back(word);
    }
    return true;
}

bool ReadTarget(const std::string& value, KioskTarget& target, std::string& error) {
    int64_t number = 0;
    if (value == "all") {
        target.reset();
        return true;
    }
    if (!ParseWholeNumber(value, 1, UINT32_MAX, number)) {
        error = "to= needs a terminal number or \"all\", not \"" + value + "\"";
        return false;
    }
    target = static_cast<uint32_t>(number);
    return true;
}

}  // namespace

bool ParseControlLine(std::string_view line, stControlCommand& command, std::string& error) {
    std::vector<stWord> words;
    if (!SplitWords(line, words, error)) {
        return false;
    }
    command = {};
    for (size_t i = 0; i < words.size(); ++i) {
        const std::string& text = words[i].text;
        const size_t equals = words[i].equals;
        if (i == 0) {
            command.verb = text;
        } else if (equals == std::string::npos || equals == 0) {
            command.words.push_back(text);
        } else if (text.substr(0, equals) == "to") {
            if (!ReadTarget(text.substr(equals + 1), command.target, error)) {
                return false;
            }
        } else {
            command.settings.emplace_back(text.substr(0, equals), text.substr(equals + 1));
        }
    }
    return true;
}

}  // namespace hx
