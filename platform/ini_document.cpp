#include "platform/ini_document.h"

#include <algorithm>

#include "platform/ascii_case.h"
#include "platform/cp949.h"

namespace hx {

namespace {

constexpr size_t kMissing = std::string_view::npos;
constexpr std::string_view kBlanks = " \t\r\v\f";

std::string_view Trim(std::string_view text) {
    const size_t first = text.find_first_not_of(kBlanks);
    if (first == kMissing) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

std::string_view Unquote(std::string_view value) {
    const bool quoted = value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                        value.back() == value.front();
    return quoted ? value.substr(1, value.size() - 2) : value;
}

// Trail bytes of two-byte characters overlap ASCII letters, so case is folded
// only on single-byte characters.
bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t at = 0; at < a.size();) {
        const size_t length = Cp949CharLength(a, at);
        if (length != Cp949CharLength(b, at)) {
            return false;
        }
        const bool same = length == 1 ? AsciiLower(a[at]) == AsciiLower(b[at])
                                      : a.substr(at, 2) == b.substr(at, 2);
        if (!same) {
            return false;
        }
        at += length;
    }
    return true;
}

stIniLine ParseLine(std::string text) {
    stIniLine line;
    const std::string_view content = Trim(text);
    if (content.starts_with('[')) {
        const size_t close = content.find(']');
        if (close != kMissing) {
            line.kind = enumIniLine::Section;
            line.name = Trim(content.substr(1, close - 1));
        }
    } else if (!content.starts_with(';')) {
        const size_t equals = content.find('=');
        if (equals != kMissing) {
            line.kind = enumIniLine::Key;
            line.name = Trim(content.substr(0, equals));
            line.value = Unquote(Trim(content.substr(equals + 1)));
        }
    }
    line.text = std::move(text);
    return line;
}

bool IsBlank(const stIniLine& line) {
    return Trim(line.text).empty();
}

// Names in the file are read trimmed, so names asked for are trimmed too.
std::string NameFromUtf8(std::string_view utf8) {
    return Cp949FromUtf8(Trim(utf8));
}

}  // namespace

CIniDocument CIniDocument::Parse(std::string_view cp949) {
    CIniDocument document;
    while (!cp949.empty()) {
        const size_t newline = cp949.find('\n');
        std::string_view text = cp949.substr(0, newline);
        cp949.remove_prefix(newline == kMissing ? cp949.size() : newline + 1);
        if (text.ends_with('\r')) {
            text.remove_suffix(1);
        }
        document.m_lines.push_back(ParseLine(std::string(text)));
    }
    return document;
}

std::string CIniDocument::Serialize() const {
    std::string bytes;
    for (const stIniLine& line : m_lines) {
        bytes += line.text;
        bytes += "\r\n";
    }
    return bytes;
}

std::string CIniDocument::GetString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue, size_t bufferSize) const {
    if (bufferSize == 0) {
        return {};
    }
    std::string value = Cp949FromUtf8(defaultValue);
    const size_t header = FindSection(NameFromUtf8(section));
    if (header != kMissing) {
        const size_t found = FindKey(header, NameFromUtf8(key));
        if (found != kMissing) {
            value = m_lines[found].value;
        }
    }
    value.resize(Cp949PrefixLength(value, bufferSize - 1));
    return Utf8FromCp949(value);
}

bool CIniDocument::SetString(std::string_view section, std::string_view key,
                             std::string_view value) {
    const std::string cp949Section = NameFromUtf8(section);
    const std::string cp949Key = NameFromUtf8(key);
    const std::string cp949Value = Cp949FromUtf8(value);
    const size_t header = FindSection(cp949Section);
    if (header == kMissing) {
        m_lines.push_back(ParseLine("[" + cp949Section + "]"));
        m_lines.push_back(ParseLine(cp949Key + "=" + cp949Value));
        return true;
    }
    const size_t found = FindKey(header, cp949Key);
    if (found != kMissing) {
        // The file's spelling of the key is kept.
        std::string text = m_lines[found].name + "=" + cp949Value;
        if (text == m_lines[found].text) {
            return false;
        }
        m_lines[found] = ParseLine(std::move(text));
        return true;
    }
    // A new key goes after the section's last line, before blank lines that
    // separate it from the next section.
    size_t insertAt = SectionEnd(header);
    while (insertAt > header + 1 && IsBlank(m_lines[insertAt - 1])) {
        --insertAt;
    }
    m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(insertAt),
                   ParseLine(cp949Key + "=" + cp949Value));
    return true;
}

bool CIniDocument::DeleteKey(std::string_view section, std::string_view key) {
    const size_t header = FindSection(NameFromUtf8(section));
    if (header == kMissing) {
        return false;
    }
    // Every copy of the key goes, or a later duplicate would take its place.
    const std::string cp949Key = NameFromUtf8(key);
    const auto first = m_lines.begin() + static_cast<std::ptrdiff_t>(header + 1);
    const auto last = m_lines.begin() + static_cast<std::ptrdiff_t>(SectionEnd(header));
    const auto kept = std::remove_if(first, last, [&](const stIniLine& line) {
        return line.kind == enumIniLine::Key && SameName(line.name, cp949Key);
    });
    const bool changed = kept != last;
    m_lines.erase(kept, last);
    return changed;
}

bool CIniDocument::DeleteSection(std::string_view section) {
    // Every section of that name goes, or a later duplicate would take its place.
    const std::string cp949Section = NameFromUtf8(section);
    bool changed = false;
    for (size_t header = FindSection(cp949Section); header != kMissing;
         header = FindSection(cp949Section)) {
        m_lines.erase(m_lines.begin() + static_cast<std::ptrdiff_t>(header),
                      m_lines.begin() + static_cast<std::ptrdiff_t>(SectionEnd(header)));
        changed = true;
    }
    return changed;
}

bool CIniDocument::CanHold(std::string_view section, std::string_view key, std::string_view value) {
    constexpr std::string_view kLineBreaks = "\r\n";
    const std::string_view keyName = Trim(key);
    return section.find_first_of(kLineBreaks) == kMissing && section.find(']') == kMissing &&
           key.find_first_of(kLineBreaks) == kMissing && key.find('=') == kMissing &&
           !keyName.starts_with('[') && !keyName.starts_with(';') &&
           value.find_first_of(kLineBreaks) == kMissing;
}

size_t CIniDocument::FindSection(std::string_view cp949Section) const {
    for (size_t i = 0; i < m_lines.size(); ++i) {
        if (m_lines[i].kind == enumIniLine::Section && SameName(m_lines[i].name, cp949Section)) {
            return i;
        }
    }
    return kMissing;
}

size_t CIniDocument::SectionEnd(size_t header) const {
    size_t end = header + 1;
    while (end < m_lines.size() && m_lines[end].kind != enumIniLine::Section) {
        ++end;
    }
    return end;
}

size_t CIniDocument::FindKey(size_t header, std::string_view cp949Key) const {
    const size_t end = SectionEnd(header);
    for (size_t i = header + 1; i < end; ++i) {
        if (m_lines[i].kind == enumIniLine::Key && SameName(m_lines[i].name, cp949Key)) {
            return i;
        }
    }
    return kMissing;
}

}  // namespace hx
