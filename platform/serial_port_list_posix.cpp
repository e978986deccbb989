#include <charconv>
#include <fstream>
#include <string>
#include <system_error>

#include "platform/serial_port_name.h"

namespace hx {

std::vector<unsigned> SystemComPortNumbers(const std::filesystem::path& ttyClass) {
    std::vector<unsigned> numbers;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(ttyClass, error)) {
        const std::string name = entry.path().filename().string();
        unsigned index = 0;
        const char* digits = name.data() + 4;
        if (!name.starts_with("ttyS") || name.size() == 4 ||
            std::from_chars(digits, name.data() + name.size(), index).ptr !=
                name.data() + name.size()) {
            continue;
        }
        std::ifstream typeFile(entry.path() / "type");
        int type = 0;
        if (typeFile >> type && type != 0) {
            numbers.push_back(index + 1);
        }
    }
    return numbers;
}

}  // namespace hx
