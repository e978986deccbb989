#include "tools/hxreg/reg_command.h"

#include <cctype>
#include <cstdint>
#include <string_view>

#include "platform/registry_db.h"

namespace hx {

namespace {

const char* const kSyntaxError = "ERROR: Invalid syntax.";

std::string Upper(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return out;
}

// "HKLM\x" and "HKEY_LOCAL_MACHINE\x" (any case, trailing backslashes allowed) to the stored form.
std::optional<std::string> KeyPathFromArgument(std::string_view key) {
    while (!key.empty() && key.back() == '\\') {
        key.remove_suffix(1);
    }
    size_t rootEnd = key.find('\\');
    std::string root = Upper(key.substr(0, rootEnd));
    std::string_view rest = rootEnd == std::string_view::npos ? "" : key.substr(rootEnd);
    if (root == "HKLM") {
        root = RegRootName(enumRegRoot::LocalMachine);
    } else if (root == "HKCU") {
        root = RegRootName(enumRegRoot::CurrentUser);
    }
    return CanonicalKeyPath(root + std::string(rest));
}

std::optional<std::uint32_t> ParseDword(const std::string& text) {
    bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    std::string_view digits = std::string_view(text).substr(hex ? 2 : 0);
    if (digits.empty()) {
        return std::nullopt;
    }
    std::uint64_t number = 0;
    for (char c : digits) {
        int digit = std::isdigit(static_cast<unsigned char>(c)) ? c - '0'
                    : hex && std::isxdigit(static_cast<unsigned char>(c))
                        ? std::tolower(static_cast<unsigned char>(c)) - 'a' + 10
                        : -1;
        if (digit < 0) {
            return std::nullopt;
        }
        number = number * (hex ? 16 : 10) + static_cast<std::uint64_t>(digit);
        if (number > 0xFFFFFFFFu) {
            return std::nullopt;
        }
    }
    return static_cast<std::uint32_t>(number);
}

std::optional<enumRegType> ParseType(const std::string& name) {
    for (enumRegType type : {enumRegType::Sz, enumRegType::ExpandSz, enumRegType::Dword}) {
        if (Upper(name) == RegTypeName(type)) {
            return type;
        }
    }
    return std::nullopt;
}

struct stSwitches {
    std::optional<std::string> valueName;
    std::optional<std::string> type;
    std::optional<std::string> data;
    bool force = false;
};

// Splits the words after the key into switches; false on anything unknown or repeated.
bool ParseSwitches(const std::vector<std::string>& words, stSwitches& out) {
    for (size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (word.size() < 2 || (word[0] != '/' && word[0] != '-')) {
            return false;
        }
        std::string name = Upper(std::string_view(word).substr(1));
        if (name == "F" && !out.force) {
            out.force = true;
            continue;
        }
        std::optional<std::string>* slot = name == "V"   ? &out.valueName
                                           : name == "T" ? &out.type
                                           : name == "D" ? &out.data
                                                         : nullptr;
        if (slot == nullptr || slot->has_value() || i + 1 == words.size()) {
            return false;
        }
        *slot = words[++i];
    }
    return true;
}

bool BuildValue(const stSwitches& switches, stRegValue& out, std::string& error) {
    enumRegType type = enumRegType::Sz;
    if (switches.type) {
        auto parsed = ParseType(*switches.type);
        if (!parsed) {
            error = "ERROR: Unsupported type " + *switches.type +
                    " (use REG_SZ, REG_EXPAND_SZ or REG_DWORD).";
            return false;
        }
        type = *parsed;
    }
    std::string data = switches.data.value_or(type == enumRegType::Dword ? "0" : "");
    if (type != enumRegType::Dword) {
        out = MakeStringValue(data, type);
        return true;
    }
    auto number = ParseDword(data);
    if (!number) {
        error = "ERROR: Invalid DWORD data " + data + " (decimal or 0x hex, 0 to 0xffffffff).";
        return false;
    }
    out = MakeDwordValue(*number);
    return true;
}

// Which switches each verb takes.
bool SwitchesFit(enumRegVerb verb, const stSwitches& switches) {
    bool valueSwitches = switches.type || switches.data;
    switch (verb) {
        case enumRegVerb::Query:
            return !valueSwitches && !switches.force;
        case enumRegVerb::Add:
            return switches.valueName || !valueSwitches;
        case enumRegVerb::Delete:
            return !valueSwitches;
        case enumRegVerb::Help:
            break;
    }
    return false;
}

// Takes --drive DIR / --drive=DIR out of args; false when DIR is missing.
bool TakeDrive(std::vector<std::string>& args, std::optional<std::string>& drive) {
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i].starts_with("--drive=")) {
            drive = args[i].substr(8);
            args.erase(args.begin() + static_cast<std::ptrdiff_t>(i));
            return true;
        }
        if (args[i] == "--drive") {
            if (i + 1 == args.size()) {
                return false;
            }
            drive = args[i + 1];
            args.erase(args.begin() + static_cast<std::ptrdiff_t>(i),
                       args.begin() + static_cast<std::ptrdiff_t>(i + 2));
            return true;
        }
    }
    return true;
}

std::optional<enumRegVerb> ParseVerb(const std::string& word) {
    std::string verb = Upper(word);
    if (verb == "QUERY") {
        return enumRegVerb::Query;
    }
    if (verb == "ADD") {
        return enumRegVerb::Add;
    }
    if (verb == "DELETE") {
        return enumRegVerb::Delete;
    }
    if (verb == "/?" || verb == "-?" || verb == "--HELP" || verb == "HELP") {
        return enumRegVerb::Help;
    }
    return std::nullopt;
}

}  // namespace

bool ParseRegCommand(const std::vector<std::string>& args, stRegCommand& out, std::string& error) {
    std::vector<std::string> words = args;
    stRegCommand command;
    if (!TakeDrive(words, command.drive)) {
        error = "ERROR: --drive needs a folder.";
        return false;
    }
    auto verb = words.empty() ? std::nullopt : ParseVerb(words[0]);
    if (verb == enumRegVerb::Help) {
        out = command;
        return true;
    }
    if (!verb || words.size() < 2) {
        error = kSyntaxError;
        return false;
    }
    command.verb = *verb;
    auto keyPath = KeyPathFromArgument(words[1]);
    if (!keyPath) {
        error = "ERROR: Invalid key name " + words[1] + ".";
        return false;
    }
    command.keyPath = *keyPath;
    stSwitches switches;
    if (!ParseSwitches({words.begin() + 2, words.end()}, switches) ||
        !SwitchesFit(command.verb, switches)) {
        error = kSyntaxError;
        return false;
    }
    if (!BuildValue(switches, command.value, error)) {
        return false;
    }
    command.valueName = switches.valueName;
    command.force = switches.force;
    out = command;
    return true;
}

}  // namespace hx
