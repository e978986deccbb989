#include "kiosk/cardissue/dispenser_monitor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/cp949.h"
#include "tests/support/file_text.h"
#include "tests/support/temp_folder.h"

namespace hx {

namespace {

TEST(DispenserMonitor, KeepsTheNewestRowsLogsEachAndDumpsTheList) {
    std::vector<std::string> logged;
    CDispenserMonitor monitor([&](std::string_view line) { logged.emplace_back(line); },
                              [] { return stLocalTime{2026, 12, 10, 5, 4, 3, 0}; });
    for (int i = 0; i <= 10000; ++i) {
        monitor.AddDispenserLogRow({"TX", "Get Status", std::to_string(i)});
    }
    ASSERT_EQ(monitor.Rows().size(), 10000u);
    EXPECT_EQ(monitor.Rows().front().row.content, "1") << "the oldest went";
    EXPECT_EQ(logged.back(), "(TX) (Get Status) 10000");

    CDispenserMonitor small(nullptr, [] { return stLocalTime{2026, 12, 10, 5, 4, 3, 0}; });
    small.AddDispenserLogRow({"D1801", "D1801_MakeGuestCard", "카드쓰기 실패 [0]"});
    const CTempFolder folder;
    ASSERT_TRUE(small.SaveList(folder.Path()));
    EXPECT_EQ(
        ReadWholeFile(folder.Path() / "DispenserLog-20261210.log"),
        Cp949FromUtf8("[2026-12-10 05:04:03] D1801|D1801_MakeGuestCard|카드쓰기 실패 [0]\r\n"));
    EXPECT_FALSE(small.SaveList(folder.Path() / "missing"));
}

}  // namespace

}  // namespace hx
