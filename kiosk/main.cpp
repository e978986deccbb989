#include <iostream>
#include <string>
#include <vector>

#include "kiosk/app/command_line.h"
#include "kiosk/app/hx_kiosk_app.h"

int main(int argc, char** argv) {
    using namespace hx;
    std::string error;
    const auto commandLine =
        ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc), &error);
    if (!commandLine) {
        std::cerr << "hxkiosk: " << error << "\n" << kKioskUsage << "\n";
        return 2;
    }
    CHxKioskApp app;
    return app.Run(*commandLine);
}
