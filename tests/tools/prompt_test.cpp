// pelmora-eval's prompt in a real terminal (a pseudo-terminal): line editing, history, Tab
// completion of a built-in's name and "help NAME".
#include "tests/tools/terminal.h"

#include <gtest/gtest.h>

#include <filesystem>

// The keys' sequences on an xterm.
#define UP "\x1b[A"
#define DOWN "\x1b[B"
#define LEFT "\x1b[D"
#define HOME "\x1b[H"
#define END "\x1b[F"

namespace pelmora::testing {
namespace {

namespace fs = std::filesystem;

class Prompt : public ::testing::Test {
  protected:
    void SetUp() override { fs::remove_all(home_), fs::create_directories(home_); }
    void TearDown() override { fs::remove_all(home_); }

    struct Step {
        std::string keys;  // typed at the next prompt; none to wait for more of the same answer
        std::string answer;
        int times = 1;  // how often the answer has been shown by then, in all
    };
    // One session: each step, then the input ended at an empty prompt. `shown_` keeps the screen.
    void session(const std::vector<Step>& steps, std::vector<std::string> arguments = {}) {
        Terminal t(home_, arguments);
        for (const auto& [keys, answer, times] : steps) {
            ASSERT_TRUE(keys.empty() || t.waitForPrompt()) << t.shown();
            t.type(keys);
            ASSERT_TRUE(t.waitFor(answer, times)) << t.shown();
        }
        ASSERT_TRUE(t.waitForPrompt()) << t.shown();
        shown_ = t.shown();
        EXPECT_EQ(t.finish(), 0);
    }

    const fs::path home_ = fs::temp_directory_path() /
                           ("pelmora-prompt-" + std::to_string(getpid()) + "-" +
                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::string shown_;
};

TEST_F(Prompt, UpRecallsTheLastLineAndKeysEditByCharacter) {
    session({{"1+2\r", "Double: 3"},
             {UP "\r", "Double: 3", 2},
             {"23" LEFT "+\r", "Double: 5"},             // 2+3
             {"2*3" HOME "1+" END "0\r", "Double: 61"},  // 1+2*30
             {UP UP DOWN "\r", "Double: 61", 2},
             {"\"あう\"" LEFT LEFT "い\r", "String: あいう"}});  // Left steps over all of "う"
}

TEST_F(Prompt, HistoryOutlivesTheSessionOnlyWithAHistoryFile) {
    session({{"6*7\r", "Double: 42"}});
    EXPECT_TRUE(fs::is_empty(home_)) << "the prompt wrote into HOME without being asked";
    session({{UP "\r", "Empty:  [code 2]"}});  // nothing to recall: an empty line
    EXPECT_EQ(shown_.find("Double: 42"), std::string::npos) << shown_;
    const std::string file = (home_ / "history").string();
    session({{"6*7\r", "Double: 42"}}, {"--history", file});
    ASSERT_TRUE(fs::exists(file));
    session({{UP "\r", "Double: 42"}}, {"--history=" + file});
}

TEST_F(Prompt, TabCompletesNamesAndHelpShowsTheEntry) {
    session({{"akc\t(\"ｱ\")\r", "String: ア"},
             {"LEN(LEF\t\"ABCD\",2))\r", "Long: 1"},
             {"help LEFT$\r", "LEFT$(text, n) -> String"},
             {"", "The first n bytes of the text's storage"},
             {"", "Example: LEFT$(\"ABCD\",4)  gives  String: AB"},
             {"help log10\r", "LOGn(x) -> Double"},
             // ASC is named in other tables of the reference before its own row.
             {"help asc\r", "Example: ASC(\"A\")  gives  Byte: 65"},
             {"help nothing\r", "No built-in is called nothing"}});
    // The name is completed in its own spelling.
    EXPECT_NE(shown_.find("AKCNV$(\"ｱ\")"), std::string::npos) << shown_;
}

}  // namespace
}  // namespace pelmora::testing
