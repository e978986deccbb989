#include <iostream>
#include <string>
#include <vector>

#include "tools/hxreg/reg_tool.h"

int main(int argc, char** argv) {
    using namespace hx;
    return HxRegMain(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
