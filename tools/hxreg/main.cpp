#include <iostream>
#include <string>
#include <vector>

#include "tools/hxreg/reg_tool.h"

namespace hx {

}  // namespace hx

int main(int argc, char** argv) {
    using namespace hx;
    using namespace hx;
    return HxRegMain(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
