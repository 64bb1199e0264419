// pelmora-eval's prompt in a real terminal (a pseudo-terminal): line editing and history.
#include "terminal.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>
#include <string_view>

namespace {

using pelmora::testing::Terminal;
namespace fs = std::filesystem;

constexpr std::string_view kUp = "\x1b[A";
constexpr std::string_view kDown = "\x1b[B";
constexpr std::string_view kLeft = "\x1b[D";
constexpr std::string_view kHome = "\x1b[H";
constexpr std::string_view kEnd = "\x1b[F";

class Prompt : public ::testing::Test {
  protected:
    void SetUp() override {
        home_ = fs::temp_directory_path() /
                ("pelmora-prompt-" + std::to_string(getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(home_);
        fs::create_directories(home_);
    }
    void TearDown() override { fs::remove_all(home_); }

    // Types a line at the next prompt and waits for its answer to be shown `times` times in
    // all and the next prompt.
    static void enter(Terminal& t, std::string_view keys, std::string_view answer, int times = 1) {
        ASSERT_TRUE(t.waitForPrompt()) << t.shown();
        t.type(std::string(keys) + "\r");
        ASSERT_TRUE(t.waitFor(answer, times)) << t.shown();
    }
    static void finish(Terminal& t) {
        ASSERT_TRUE(t.waitForPrompt()) << t.shown();
        EXPECT_EQ(t.finish(), 0);
    }

    fs::path home_;
};

TEST_F(Prompt, UpRecallsTheLastLineAndKeysEditByCharacter) {
    Terminal t(home_);
    enter(t, "1+2", "Double: 3");
    enter(t, kUp, "Double: 3", 2);
    enter(t, std::string("23") + std::string(kLeft) + "+", "Double: 5");  // 2+3
    enter(t, std::string("2*3") + std::string(kHome) + "1+" + std::string(kEnd) + "0",
          "Double: 61");  // 1+2*30
    enter(t, std::string(kUp) + std::string(kUp) + std::string(kDown), "Double: 61", 2);
    // Left steps over the whole of "う", so "い" goes before it.
    enter(t, std::string("\"あう\"") + std::string(kLeft) + std::string(kLeft) + "い",
          "String: あいう");
    finish(t);
}

TEST_F(Prompt, HistoryOutlivesTheSessionOnlyWithAHistoryFile) {
    {
        Terminal t(home_);
        enter(t, "6*7", "Double: 42");
        finish(t);
    }
    EXPECT_TRUE(fs::is_empty(home_)) << "the prompt wrote into HOME without being asked";
    {
        Terminal t(home_);
        enter(t, kUp, "Empty:  [code 2]");  // nothing to recall: an empty line
        ASSERT_TRUE(t.waitForPrompt()) << t.shown();
        EXPECT_EQ(t.count("Double: 42"), 0) << t.shown();
        EXPECT_EQ(t.finish(), 0);
    }
    std::string file = (home_ / "history").string();
    {
        Terminal t(home_, {"--history", file});
        enter(t, "6*7", "Double: 42");
        finish(t);
    }
    ASSERT_TRUE(fs::exists(file));
    {
        Terminal t(home_, {"--history=" + file});
        enter(t, kUp, "Double: 42");
        finish(t);
    }
}

}  // namespace
