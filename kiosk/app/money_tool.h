#pragma once
// hxmoney: prints the money journal of a day and its check, as an operator
// or a service technician reads them at the kiosk's PC.
//
//   hxmoney [--drive DIR] [YYYY-MM-DD]
//
// Without a day, today's. Exit status 0, 1 when the journal cannot be read,
// 2 for a wrong command line.

#include <ostream>
#include <string>
#include <vector>

namespace hx {

extern const char* const kMoneyToolUsage;

int HxMoneyMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace hx
