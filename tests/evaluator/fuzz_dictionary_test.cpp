// The fuzzer's dictionary keeps up with the built-in table: every name the evaluator knows,
// the word operators and the marks of the scan are in fuzz/eval.dict.
#include "evaluator/builtins.h"
#include "evaluator/text.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <string>

namespace pelmora::testing {
namespace {

// The quoted values of a libFuzzer dictionary, with \xNN and \\ / \" read back.
std::set<std::string> dictionaryEntries(const std::string& path) {
    std::set<std::string> entries;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        auto open = line.find('"');
        if (line.empty() || line[0] == '#' || open == std::string::npos) continue;
        std::string value;
        for (std::size_t i = open + 1; i + 1 < line.size(); ++i) {
            if (line[i] == '\\' && line[i + 1] == 'x' && i + 3 < line.size()) {
                value += static_cast<char>(std::stoi(line.substr(i + 2, 2), nullptr, 16));
                i += 3;
            } else if (line[i] == '\\') {
                value += line[++i];
            } else {
                value += line[i];
            }
        }
        entries.insert(value);
    }
    return entries;
}

TEST(FuzzDictionary, HoldsEveryBuiltInNameWordAndMark) {
    auto entries = dictionaryEntries(PELMORA_FUZZ_DIR "/eval.dict");
    ASSERT_FALSE(entries.empty()) << "no entries in " PELMORA_FUZZ_DIR "/eval.dict";
    ASSERT_EQ(builtinTable().size(), 93u);
    for (const auto& entry : builtinTable())
        EXPECT_TRUE(entries.count(toUtf8(entry.name))) << toUtf8(entry.name);
    for (const auto& entry : bareNameTable())
        EXPECT_TRUE(entries.count(toUtf8(entry.name))) << toUtf8(entry.name);
    for (const char* other : {"MOD", "AND", "OR", "XOR", "NOT", "&H", "&O", "\"", "(", ")", ",",
                              "#", "$", "%", "&", "!", "@"})
        EXPECT_TRUE(entries.count(other)) << other;
}

}  // namespace
}  // namespace pelmora::testing
