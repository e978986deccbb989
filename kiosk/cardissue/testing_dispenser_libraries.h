#pragma once
// For tests: the two makers' libraries as scripts, the one part of the
// dispenser that cannot run here but as a stand-in. Each answers what the
// test set and records what it was asked.

#include <array>
#include <string>
#include <vector>

#include "kiosk/cardissue/dispenser_libraries.h"

namespace hx {

class CScriptedD1801Library : public ID1801Library {
public:
    int answeringAddress = 0;  // -1: none answers
    int sendResult = 0;
    std::array<uint8_t, 4> status{};
    std::vector<std::string> calls;

    int D1801_AutoTestMac(int, uint8_t address) override {
        return address == answeringAddress ? 0 : -1;
    }
    int D1801_SendCmd(int, uint8_t address, const uint8_t* command, int count) override {
        calls.push_back(std::to_string(address) + " " + std::string(command, command + count));
        return sendResult;
    }
    int D1801_SensorQuery(int, uint8_t, uint8_t* out) override {
        std::copy(status.begin(), status.end(), out);
        return 0;
    }
};

class CScriptedLockLibrary : public ILockLibrary {
public:
    int openResult = 1;
    int encodeResult = 1;
    std::vector<std::string> encoded;  // "address|start|end"

    int Ordinal58(int encoder) override { return encoder == 5 ? openResult : 0; }
    int Ordinal56(char*, const char* roomAddress, const char* start, const char* end,
                  int) override {
        encoded.push_back(std::string(roomAddress) + "|" + start + "|" + end);
        return encodeResult;
    }
};

}  // namespace hx
