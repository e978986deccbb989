#pragma once
// The operating system's code page tables behind the CP949 codec: the codec
// decides what a bad sequence costs, the system converts the good runs.

#include <cstddef>
#include <string>
#include <string_view>

namespace hx {

enum class enumCodePageDirection { Utf8ToCp949, Cp949ToUtf8 };

// Converts from the start of input up to its end or the first sequence the
// system refuses, appending to out; returns the number of input bytes
// consumed. Without the system's tables ASCII still passes.
size_t ConvertCodePageRun(enumCodePageDirection direction, std::string_view input,
                          std::string& out);

}  // namespace hx
