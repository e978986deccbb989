#include "platform/quit_signals.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include "platform/message_loop.h"

namespace hx {

namespace {

constexpr UINT kQuitMessage = 1050;

void ExpectQuitMessage() {
    MSG msg;
    ASSERT_EQ(GetMessage(&msg, 0, kQuitMessage, kQuitMessage), 1);
    EXPECT_EQ(msg.hwnd, 0u);
    EXPECT_EQ(msg.wParam, 0u);
    EXPECT_EQ(msg.lParam, 0);
}

TEST(QuitSignals, TermAndIntPostTheThreadMessage) {
    ASSERT_TRUE(InstallQuitSignals(GetCurrentThreadId(), kQuitMessage));
    EXPECT_FALSE(InstallQuitSignals(GetCurrentThreadId(), kQuitMessage));

    ASSERT_EQ(::kill(::getpid(), SIGTERM), 0);
    ExpectQuitMessage();
    ASSERT_EQ(::kill(::getpid(), SIGINT), 0);
    ExpectQuitMessage();
    ASSERT_EQ(::raise(SIGTERM), 0);
    ExpectQuitMessage();

    UninstallQuitSignals();
}

volatile sig_atomic_t g_previousHandlerCalls = 0;

TEST(QuitSignals, UninstallPutsBackThePreviousHandler) {
    g_previousHandlerCalls = 0;
    struct sigaction counting {};
    counting.sa_handler = [](int) { g_previousHandlerCalls = g_previousHandlerCalls + 1; };
    sigemptyset(&counting.sa_mask);
    struct sigaction original {};
    ASSERT_EQ(::sigaction(SIGTERM, &counting, &original), 0);

    ASSERT_TRUE(InstallQuitSignals(GetCurrentThreadId(), kQuitMessage));
    UninstallQuitSignals();
    ASSERT_EQ(::raise(SIGTERM), 0);
    EXPECT_EQ(g_previousHandlerCalls, 1);

    // A second installation after the first works the same.
    ASSERT_TRUE(InstallQuitSignals(GetCurrentThreadId(), kQuitMessage));
    ASSERT_EQ(::kill(::getpid(), SIGTERM), 0);
    ExpectQuitMessage();
    UninstallQuitSignals();
    EXPECT_EQ(g_previousHandlerCalls, 1);

    ::sigaction(SIGTERM, &original, nullptr);
}

}  // namespace

}  // namespace hx
