#pragma once
// The simulator's command line.

#include <filesystem>
#include <string>
#include <vector>

#include "tools/prnsim/printer_state.h"

namespace hx {

inline constexpr char kDefaultPrinterFont[] =
    "/usr/share/fonts/truetype/nanum/NanumGothicCoding.ttf";

// The widest character, a two-byte one at 8 times, takes 16 columns.
inline constexpr int kFewestColumns = 16;
inline constexpr int kMostColumns = 96;

struct stPrnSimOptions {
    std::filesystem::path link;     // empty: no link to the slave
    std::filesystem::path usbTree;  // empty: no made-up sysfs tree
    std::filesystem::path journal;  // empty: no journal
    std::filesystem::path out;      // empty: see DocumentFolder
    std::filesystem::path font = kDefaultPrinterFont;
    int columns = 48;
    enumPrinterState state = enumPrinterState::Ready;
    bool help = false;
};

// The arguments after the program name. False with the reason.
bool ParsePrnSimCommandLine(const std::vector<std::string>& args, stPrnSimOptions& options,
                            std::string& error);

// Where documents go: --out, else the journal's folder, else the current one.
std::filesystem::path DocumentFolder(const stPrnSimOptions& options);

}  // namespace hx
