#pragma once
// The merchant and terminal information the card terminal program gives
// (answer "5202"), and the working key its fixed-layout field 25 carries
// for encrypting a signature.

#include <optional>
#include <string>
#include <vector>

#include "kiosk/payment/credit_answer.h"

namespace hx {

struct stVCatInfo {
    std::string terminalNo;
    std::string businessNo;
    std::string merchantName;
    std::string representative;
    std::string phone;
    std::string address;
    std::string terminalVersion;
};

struct stParsedVCatInfo {
    stVCatInfo info;
    std::vector<std::string> logLines;
};

// The information of an answer the reader gives; nullopt (and the line
// why) when it is no "5202".
std::optional<stParsedVCatInfo> ReadVCatInfo(const VCatFieldReader& read, std::string& whyNot);

struct stWorkingKey {
    std::string key;    // 16 characters from position 42
    std::string index;  // one character of positions 58 and 59
};

// Characters 42 to 57 are the key; of 58 and 59 the index is the second
// when the first is '0', else the first. A short field gives what it has.
stWorkingKey WorkingKeyOf(const std::string& filler1);

// The terminal log's line for a failed signature encryption.
std::string SignFailureLine(int result);

}  // namespace hx
