#include <iostream>
#include <string>
#include <vector>

#include "kiosk/app/money_tool.h"

int main(int argc, char** argv) {
    return hx::HxMoneyMain(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
