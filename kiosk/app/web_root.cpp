#include "kiosk/app/web_root.h"

#include "platform/program_file.h"

namespace hx {

std::filesystem::path ResolveWebRoot(const std::optional<std::string>& fromCommandLine) {
    if (fromCommandLine) {
        return *fromCommandLine;
    }
    // The build writes the install layout's path from the program's folder
    // to the screen's files (bin/ to share/hxkiosk/web).
    return (GetProgramFile().parent_path() / HX_WEB_ROOT_FROM_PROGRAM).lexically_normal();
}

}  // namespace hx
