#pragma once
// The words of a console line as a person types them: separated by blanks,
// no quoting.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hx {

std::vector<std::string> SplitWords(std::string_view line);
// "on" or "off"; nullopt for another word.
std::optional<bool> OnOff(const std::string& word);

}  // namespace hx
