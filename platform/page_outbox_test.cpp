#include "platform/page_outbox.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <limits>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace hx {

namespace {

// A page as the outbox sees it: writes can be held, as a page that stops
// reading holds them, and a frame can be refused. Waits are bounded; they only
// stop a broken test from hanging.
class CFakePage {
public:
    static constexpr const char* kRefused = "refused";

    bool Write(const std::string& frame) {
        std::unique_lock lock(m_lock);
        ++m_begun;
        m_changed.notify_all();
        m_changed.wait(lock, [this] { return !m_held; });
        m_written.push_back(frame);
        m_changed.notify_all();
        return frame != kRefused;
    }
    void Close() {
        std::lock_guard lock(m_lock);
        ++m_closes;
        m_changed.notify_all();
    }

    void Hold() { SetHeld(true); }
    void Release() { SetHeld(false); }
    // Waits until `count` writes have begun or finished, and says whether they did.
    bool WaitForStarted(std::size_t count) {
        return WaitFor([&] { return m_begun >= count; });
    }
    bool WaitForWritten(std::size_t count) {
        return WaitFor([&] { return m_written.size() >= count; });
    }
    bool WaitForClose() {
        return WaitFor([&] { return m_closes > 0; });
    }

    std::vector<std::string> Written() {
        std::lock_guard lock(m_lock);
        return m_written;
    }
    int Closes() {
        std::lock_guard lock(m_lock);
        return m_closes;
    }

private:
    void SetHeld(bool held) {
        std::lock_guard lock(m_lock);
        m_held = held;
        m_changed.notify_all();
    }
    template <typename Condition>
    bool WaitFor(Condition condition) {
        std::unique_lock lock(m_lock);
        return m_changed.wait_for(lock, std::chrono::seconds(10), condition);
    }

    std::mutex m_lock;
    std::condition_variable m_changed;
    bool m_held = false;
    std::size_t m_begun = 0;
    std::vector<std::string> m_written;
    int m_closes = 0;
};

class PageOutbox : public ::testing::Test {
protected:
    void TearDown() override { m_page.Release(); }  // so that a failed test ends

    // An outbox whose first frame is stuck in the write, as a page that has
    // stopped reading keeps it.
    void HoldFirstWrite(std::size_t limitBytes, const std::string& frame) {
        m_outbox = std::make_unique<CPageOutbox>(
            limitBytes, [this](const std::string& frame) { return m_page.Write(frame); },
            [this] { m_page.Close(); });
        m_page.Hold();
        ASSERT_EQ(m_outbox->Queue(frame), enumQueued::Queued);
        ASSERT_TRUE(m_page.WaitForStarted(1));
    }

    CFakePage m_page;
    std::unique_ptr<CPageOutbox> m_outbox;  // goes first, while the page is still there
};

TEST_F(PageOutbox, WritesInOrderWhileTheCallerNeverWaits) {
    HoldFirstWrite(10, "first");
    // The page takes nothing now, yet queueing returns at once.
    EXPECT_EQ(m_outbox->Queue("0123456789-larger than the limit"), enumQueued::Queued)
        << "an empty queue takes any frame";
    m_page.Release();
    ASSERT_TRUE(m_page.WaitForWritten(2));
    EXPECT_EQ(m_outbox->Queue("third"), enumQueued::Queued);
    ASSERT_TRUE(m_page.WaitForWritten(3));
    EXPECT_EQ(m_page.Written(),
              (std::vector<std::string>{"first", "0123456789-larger than the limit", "third"}));
    EXPECT_EQ(m_page.Closes(), 0);
}

TEST_F(PageOutbox, APageThatStopsReadingIsClosedOnceAndGetsNoMore) {
    HoldFirstWrite(10, "stuck");
    EXPECT_EQ(m_outbox->Queue("12345"), enumQueued::Queued);
    EXPECT_EQ(m_outbox->Queue("67890"), enumQueued::Queued);  // exactly the limit
    EXPECT_EQ(m_outbox->Queue("x"), enumQueued::Overflowed);
    EXPECT_EQ(m_outbox->Queue("y"), enumQueued::Closed);

    // The page is closed from the outbox's thread once the stuck write ends;
    // what waited behind it is not written.
    m_page.Release();
    ASSERT_TRUE(m_page.WaitForClose());
    m_outbox->Stop();
    EXPECT_EQ(m_page.Written(), std::vector<std::string>{"stuck"});
    EXPECT_EQ(m_page.Closes(), 1);
}

TEST_F(PageOutbox, AFrameThatDoesNotGoOutWholeEndsThePage) {
    HoldFirstWrite(1024, CFakePage::kRefused);
    ASSERT_EQ(m_outbox->Queue("behind it"), enumQueued::Queued);
    m_page.Release();
    ASSERT_TRUE(m_page.WaitForClose());
    EXPECT_EQ(m_outbox->Queue("later"), enumQueued::Closed);
    m_outbox->Stop();
    EXPECT_EQ(m_page.Written(), std::vector<std::string>{CFakePage::kRefused});
    EXPECT_EQ(m_page.Closes(), 1);
}

TEST_F(PageOutbox, StopLetsTheCurrentWriteFinishAndDropsTheRest) {
    // No limit: the probes below must not overflow however many there are.
    HoldFirstWrite(std::numeric_limits<std::size_t>::max(), "being written");
    ASSERT_EQ(m_outbox->Queue("waiting"), enumQueued::Queued);

    std::thread stopper([&] { m_outbox->Stop(); });
    // Frames refused: Stop has begun and is waiting for the held write.
    while (m_outbox->Queue("probe") != enumQueued::Closed) {
        std::this_thread::yield();
    }
    m_page.Release();
    stopper.join();
    EXPECT_EQ(m_page.Written(), std::vector<std::string>{"being written"});
    EXPECT_EQ(m_page.Closes(), 0) << "a page whose connection ended is not closed again";
}

}  // namespace

}  // namespace hx
