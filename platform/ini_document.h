#pragma once
// The content of a private-profile INI file: "[section]" lines followed by
// "key=value" lines. Every line is kept as it was read, so an edit changes the
// lines it means to change and nothing else (comments and order survive).
// The file's bytes are CP949; names and values in this interface are UTF-8.
// Names match without regard to ASCII case; the first matching section, and
// in it the first matching key, is the one that counts.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace hx {

enum class enumIniLine { Other, Section, Key };

struct stIniLine {
    enumIniLine kind = enumIniLine::Other;
    std::string text;   // CP949, as in the file, without the line end
    std::string name;   // CP949 section or key name, trimmed
    std::string value;  // CP949 key value, trimmed, matching quotes removed
};

class CIniDocument {
public:
    // Accepts any bytes; CR LF and LF end lines alike.
    static CIniDocument Parse(std::string_view cp949);
    // CP949 with every line ended by CR LF.
    std::string Serialize() const;

    // The value, or defaultValue when the section or the key is missing, cut to
    // at most bufferSize - 1 CP949 bytes without splitting a character.
    std::string GetString(std::string_view section, std::string_view key,
                          std::string_view defaultValue, size_t bufferSize) const;

    // Edits return whether the document changed.
    bool SetString(std::string_view section, std::string_view key, std::string_view value);
    bool DeleteKey(std::string_view section, std::string_view key);
    bool DeleteSection(std::string_view section);

    // Whether the names and value can be written without breaking the file's
    // structure (a line break would start new lines; "]" would end the section
    // name and "=" the key name early).
    static bool CanHold(std::string_view section, std::string_view key, std::string_view value);

    const std::vector<stIniLine>& Lines() const { return m_lines; }

private:
    // Line indexes; npos when missing.
    size_t FindSection(std::string_view cp949Section) const;
    size_t SectionEnd(size_t header) const;
    size_t FindKey(size_t header, std::string_view cp949Key) const;

    std::vector<stIniLine> m_lines;
};

}  // namespace hx
