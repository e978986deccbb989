// The child-process helper with the system's shell as the child: what a test
// relies on when it starts, feeds, signals and ends a program.
#include "tests/support/child_process.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/file_text.h"
#include "tests/support/scoped_environment.h"
#include "tests/support/temp_folder.h"

namespace hx {

namespace {

class ChildProcess : public ::testing::Test {
protected:
    stChildLaunch Shell(const std::string& script) const {
        stChildLaunch launch;
        launch.args = {"sh", "-c", script, "sh", "world"};
        launch.outputFile = Output();
        return launch;
    }
    // A child that runs until its input ends, or it is signalled: the input
    // stays open as long as the test does not close it.
    stChildLaunch ReadingInput(const std::string& script = "read line") const {
        stChildLaunch launch = Shell(script);
        launch.withInput = true;
        return launch;
    }
    std::filesystem::path Output() const { return m_folder.Path() / "output.txt"; }

    CTempFolder m_folder;
};

TEST_F(ChildProcess, GetsItsArgumentsAndEnvironmentAndGivesItsExitCode) {
    const CScopedEnvironment inherited("HX_INHERITED", "kept");
    const CScopedEnvironment replaced("HX_REPLACED", "ours");
    stChildLaunch launch = Shell("echo \"$HX_GREETING $1 $HX_INHERITED $HX_REPLACED\"; exit 7");
    launch.environment = {"HX_GREETING=hello", "HX_REPLACED=theirs"};
    CChildProcess child;
    ASSERT_TRUE(child.Start(launch));
    EXPECT_EQ(child.WaitForExit(), 7);
    EXPECT_FALSE(child.IsRunning());
    EXPECT_EQ(ReadWholeFile(Output()), "hello world kept theirs\n");
    EXPECT_EQ(child.WaitForExit(), 7) << "the same answer once reaped";
}

// The output file is named from the caller's folder, the child runs in its own.
TEST_F(ChildProcess, StartsInTheFolderItIsGiven) {
    CTempFolder elsewhere;
    stChildLaunch launch = Shell("pwd");
    launch.workingFolder = elsewhere.Path();
    CChildProcess child;
    ASSERT_TRUE(child.Start(launch));
    EXPECT_EQ(child.WaitForExit(), 0);
    EXPECT_EQ(ReadLines(Output()), (std::vector<std::string>{elsewhere.Path().string()}));
}

TEST_F(ChildProcess, ReadsWhatIsWrittenToItsInputAndSeesItsEnd) {
    CChildProcess child;
    ASSERT_TRUE(
        child.Start(ReadingInput("while read line; do echo \"got $line\"; done; echo end")));
    ASSERT_TRUE(child.WriteInput("one\ntwo\n"));
    EXPECT_TRUE(WaitForLine(Output(), [](const std::string& line) { return line == "got two"; }));
    child.CloseInput();
    EXPECT_FALSE(child.WriteInput("three\n"));
    EXPECT_EQ(child.WaitForExit(), 0);
    EXPECT_EQ(ReadLines(Output()), (std::vector<std::string>{"got one", "got two", "end"}));
}

TEST_F(ChildProcess, WithoutAnInputTheChildReadsNothing) {
    CChildProcess child;
    ASSERT_TRUE(child.Start(Shell("if read line; then exit 1; fi; exit 0")));
    EXPECT_EQ(child.WaitForExit(), 0);
    EXPECT_FALSE(child.WriteInput("x\n"));
}

TEST_F(ChildProcess, ASignalledChildHasNoExitCode) {
    for (const enumChildSignal signal :
         {enumChildSignal::Terminate, enumChildSignal::Interrupt, enumChildSignal::Kill}) {
        CChildProcess child;
        ASSERT_TRUE(child.Start(ReadingInput()));
        EXPECT_TRUE(child.IsRunning());
        ASSERT_TRUE(child.Signal(signal));
        EXPECT_EQ(child.WaitForExit(), std::nullopt);
        EXPECT_FALSE(child.IsRunning()) << "reaped";
        EXPECT_FALSE(child.Signal(signal)) << "nothing left to signal";
    }
}

TEST_F(ChildProcess, StopEndsAChildThatIgnoresTheRequestToEnd) {
    CChildProcess child;
    ASSERT_TRUE(child.Start(Shell("trap '' TERM INT; exec sleep 600")));
    EXPECT_EQ(child.Stop(std::chrono::milliseconds(200)), std::nullopt);
    EXPECT_FALSE(child.IsRunning());
}

TEST_F(ChildProcess, StopGivesTheExitCodeOfAChildThatEndsOnRequest) {
    // Stop closes the input just before it asks the child to end.
    CChildProcess child;
    ASSERT_TRUE(
        child.Start(ReadingInput("trap 'exit 5' TERM; echo ready; while :; do read line; done")));
    ASSERT_TRUE(WaitForLine(Output(), [](const std::string& line) { return line == "ready"; }));
    EXPECT_EQ(child.Stop(), 5);
}

TEST_F(ChildProcess, AProgramThatIsNotThereDoesNotStart) {
    CChildProcess child;
    stChildLaunch launch;
    EXPECT_FALSE(child.Start(launch)) << "no program";
    launch.args = {"hx-no-such-program"};
    EXPECT_FALSE(child.Start(launch));
    launch.args = {(m_folder.Path() / "missing").string()};
    EXPECT_FALSE(child.Start(launch));
    EXPECT_FALSE(child.IsRunning());
}

TEST_F(ChildProcess, OneChildAtATimePerObject) {
    const stChildLaunch launch = ReadingInput();
    CChildProcess child;
    ASSERT_TRUE(child.Start(launch));
    EXPECT_FALSE(child.Start(launch));
    child.CloseInput();
    EXPECT_EQ(child.WaitForExit(), 1) << "read fails at the end of its input";
    EXPECT_TRUE(child.Start(launch)) << "free again once reaped";
}

TEST(ForkedProcess, GivesWhatTheBodyReturns) {
    int seenInParent = 0;
    EXPECT_EQ(RunInForkedProcess([&seenInParent] {
                  seenInParent = 1;  // the copy's memory, not ours
                  return 42;
              }),
              42);
    EXPECT_EQ(seenInParent, 0);
}

}  // namespace

}  // namespace hx
