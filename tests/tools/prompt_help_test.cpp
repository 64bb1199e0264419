// The prompt knows the language: Tab completes a built-in's name, "help NAME" shows its entry.
#include "terminal.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace pelmora::testing {
namespace {

TEST(PromptHelp, TabCompletesNamesAndHelpShowsTheEntry) {
    auto home = std::filesystem::temp_directory_path() /
                ("pelmora-prompt-help-" + std::to_string(getpid()));
    std::filesystem::create_directories(home);
    Terminal t(home);
    // {keys typed at a prompt, what it then shows}
    const std::pair<std::string, std::string> steps[] = {
        {"akc\t(\"ｱ\")\r", "String: ア"},  // the name is completed in its own spelling
        {"LEN(LEF\t\"ABCD\",2))\r", "Long: 1"},
        {"help LEFT$\r", "LEFT$(text, n) -> String"},
        {"", "The first n bytes of the text's storage"},
        {"", "Example: LEFT$(\"ABCD\",4)  gives  String: AB"},
        {"help log10\r", "LOGn(x) -> Double"},
        // ASC is named in other tables of the reference before its own row.
        {"help asc\r", "Example: ASC(\"A\")  gives  Byte: 65"},
        {"help nothing\r", "No built-in is called nothing"},
    };
    for (const auto& [keys, shown] : steps) {
        if (!keys.empty()) {
            ASSERT_TRUE(t.waitForPrompt()) << t.shown();
            t.type(keys);
        }
        ASSERT_TRUE(t.waitFor(shown)) << t.shown();
    }
    EXPECT_NE(t.shown().find("AKCNV$(\"ｱ\")"), std::string::npos) << t.shown();
    ASSERT_TRUE(t.waitForPrompt()) << t.shown();
    EXPECT_EQ(t.finish(), 0);
    std::filesystem::remove_all(home);
}

}  // namespace
}  // namespace pelmora::testing
