#include <gtest/gtest.h>

#include <atomic>
#include <regex>
#include <string>
#include <thread>

#include "net/lock_exception.h"
#include "net/lock_obj.h"
#include "net/log.h"
#include "net/mutex_ex.h"
#include "tests/support/file_text.h"
#include "tests/support/temp_drive.h"

namespace hx {

namespace {

class Locks : public ::testing::Test {
protected:
    void SetUp() override {
        m_drive.MakeFolder("Program Files/Harlix");
        CLockObj::SetWaitLimit(50);
    }
    void TearDown() override { CLockObj::SetWaitLimit(CLockObj::kDefaultWaitMs); }

    std::string MutexLog() const { return ReadWholeFile(CLog::DiagnosticFolder() / "Mutex.log"); }

    // Takes the mutex from another thread and reports where that failed.
    static bool TryFromOtherThread(CMutexEx& mutex, int& line) {
        bool locked = true;
        std::thread other([&] {
            line = __LINE__ + 1;
            CLockObj lock(mutex);
            locked = lock.IsLocked();
        });
        other.join();
        return locked;
    }

    CTempDrive m_drive;
};

TEST_F(Locks, OwnerTakesItAgainAndTheSiteIsRecorded) {
    CMutexEx mutex;
    CLockObj outer(mutex, "outer.cpp", 10);
    ASSERT_TRUE(outer.IsLocked());
    {
        CLockObj inner(mutex, "inner.cpp", 20);
        ASSERT_TRUE(inner.IsLocked());
        EXPECT_STREQ(mutex.GetLockFile(), "inner.cpp");
        EXPECT_EQ(mutex.GetLockLine(), 20);
        EXPECT_EQ(mutex.GetOwnerThread(), std::this_thread::get_id());
    }
    int line = 0;
    EXPECT_FALSE(TryFromOtherThread(mutex, line));  // still held once
}

TEST_F(Locks, ReleasedOnDestruction) {
    CMutexEx mutex;
    { CLockObj lock(mutex); }
    int line = 0;
    EXPECT_TRUE(TryFromOtherThread(mutex, line));
    EXPECT_FALSE(std::filesystem::exists(CLog::DiagnosticFolder() / "Mutex.log"));
}

TEST_F(Locks, TimeoutWritesOneRecordNamingTheWaitingSite) {
    CMutexEx mutex;
    CLockObj holder(mutex);
    int line = 0;
    ASSERT_FALSE(TryFromOtherThread(mutex, line));
    std::string record = MutexLog();
    std::regex expected(
        std::string("Lock Exception! : Ver\\. 1\\.3-8\r\n\tSrc=.*locks_test\\.cpp, ") +
        "Line=" + std::to_string(line) + "\r\n\t\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\r\n\r\n");
    EXPECT_TRUE(std::regex_match(record, expected)) << record;
}

TEST_F(Locks, OnlyTheLatestTimeoutStaysInTheFile) {
    CMutexEx mutex;
    CLockObj holder(mutex);
    std::thread other([&] {
        { CLockObj first(mutex, "first.cpp", 1); }
        CLockObj second(mutex, "second.cpp", 2);
    });
    other.join();
    std::string record = MutexLog();
    EXPECT_EQ(record.find("first.cpp"), std::string::npos);
    EXPECT_NE(record.find("Src=second.cpp, Line=2\r\n"), std::string::npos);
}

TEST_F(Locks, RelockWaitsAgainAfterATimeout) {
    CMutexEx mutex;
    std::atomic<bool> taken = false;
    std::atomic<bool> release = false;
    std::thread holder([&] {
        CLockObj lock(mutex);
        taken = true;
        while (!release) {
            std::this_thread::yield();
        }
    });
    while (!taken) {
        std::this_thread::yield();
    }
    CLockObj waiter(mutex, "waiter.cpp", 1);
    ASSERT_FALSE(waiter.IsLocked());
    release = true;
    CLockObj::SetWaitLimit(60000);  // the second wait must outlast the holder
    EXPECT_TRUE(waiter.Relock());
    holder.join();
}

TEST(LockException, MessageFormsAndCutting) {
    CTempDrive drive;
    drive.MakeFolder("Program Files/Harlix");
    CLockException unknownSite(nullptr, 0);
    char message[CLockException::kMessageSize];
    EXPECT_EQ(unknownSite.GetErrorMessage(message, sizeof message), 1);
    EXPECT_TRUE(std::regex_match(message, std::regex("Lock Exception! : Ver\\. 1\\.3-8\r\n\t"
                                                     "[-0-9]{10} [:0-9]{8}\r\n\r\n")))
        << message;
    char small[10];
    CLockException known("a.cpp", 3);
    EXPECT_EQ(known.GetErrorMessage(small, sizeof small), 1);
    EXPECT_STREQ(small, "Lock Exce");
}

}  // namespace

}  // namespace hx
