#include "platform/named_mutex.h"

#include <gtest/gtest.h>

#include "tests/support/child_process.h"
#include "tests/support/temp_drive.h"

namespace hx {

namespace {

// The child's exit code says whether it got the mutex.
int AcquireInChild(const char* name) {
    return RunInForkedProcess([name] {
        CNamedMutex mutex;
        return mutex.TryAcquire(name) ? 1 : 0;
    });
}

TEST(NamedMutex, HeldByOneOwnerAcrossProcessesAndFreedByReleaseOrExit) {
    CTempDrive drive;
    CNamedMutex first;
    ASSERT_TRUE(first.TryAcquire("MUTEX_HX_KIOSK"));
    EXPECT_EQ(AcquireInChild("MUTEX_HX_KIOSK"), 0);
    EXPECT_EQ(AcquireInChild("OTHER_NAME"), 1);

    CNamedMutex second;
    EXPECT_FALSE(second.TryAcquire("MUTEX_HX_KIOSK"));

    first.Release();
    EXPECT_EQ(AcquireInChild("MUTEX_HX_KIOSK"), 1);  // the child's lock ended with it
    EXPECT_TRUE(second.TryAcquire("MUTEX_HX_KIOSK"));
}

}  // namespace

}  // namespace hx
