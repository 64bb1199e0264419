// The built-in table and its dispatch (bare names are in cases/names.tsv), values only exact
// arithmetic tells apart, RND's sequence, the tools' host, and the fuzzer's dictionary.
#include "evaluator/builtins.h"
#include <pelmora/standard_host.h>
#include "fake_host.h"

#include <cmath>
#include <map>
#include <set>

namespace pelmora::testing {
namespace {

TEST(BuiltinDispatch, EveryNameReachesItsOwnEntryAndRunsItsOwnFunction) {
    auto table = builtinTable();
    std::map<Builtin, std::string> owner;
    for (std::size_t i = 0; i < table.size(); ++i) {
        // The name a call uses to reach the entry; the range entry is reached by one of its names.
        std::u16string name = table[i].rangeAbove.empty() ? std::u16string(table[i].name) : u"LOG2";
        std::size_t first = 0;
        while (!table[first].matches(name)) ++first;
        EXPECT_EQ(first, i) << toUtf8(name);
        auto [it, fresh] = owner.emplace(table[i].function, toUtf8(table[i].name));
        // Only SPACE$ and SPC share a function.
        EXPECT_TRUE(fresh || it->second + "/" + toUtf8(table[i].name) == "SPACE$/SPC")
            << it->second << " / " << toUtf8(table[i].name);
        Bench bench;
        EXPECT_NO_THROW(bench.evaluator.Eval(name + u"(1)")) << toUtf8(name) << " ended";
    }
}

// X is read through its text form: 1/3 reaches these functions as 0.333333333333333.
TEST(NumericExact, ArgumentsAreReadThroughTheirText) {
    Bench bench;
    EXPECT_EQ(bench.eval("ACT(1/3)").asDouble(), std::atan(0.333333333333333) + 2 * std::atan(1.0));
    EXPECT_EQ(bench.eval("ACT(CSNG(1/3))").asDouble(), std::atan(0.3333333) + 2 * std::atan(1.0));
    EXPECT_EQ(bench.eval("0.1+0.2").asDouble(), 0.1 + 0.2);
    EXPECT_EQ(bench.eval("123.456-78.9*0.5").asDouble(), 123.456 - 78.9 * 0.5);
    EXPECT_EQ(bench.eval("2^0.5").asDouble(), std::sqrt(2.0));
}

// What RND's argument does, and the order in which slots are evaluated, are rows of
// cases/numeric.tsv.
TEST(NumericRnd, SequenceIsUniformOnTheGridOfTheUnitInterval) {
    RandomSequence a{7};
    std::set<float> seen;
    std::vector<int> buckets(10);
    for (int i = 0; i < 10000; ++i) {
        float x = a.next();
        ASSERT_TRUE(x >= 0.0f && x < 1.0f) << x;
        EXPECT_EQ(std::ldexp(double(x), 24), std::floor(std::ldexp(x, 24)));  // k * 2^-24
        seen.insert(x);
        ++buckets[static_cast<int>(x * 10)];
    }
    EXPECT_GT(seen.size(), 9990u);
    for (int count : buckets) EXPECT_NEAR(count, 1000, 150);
    a.reseed(7);
    EXPECT_EQ(a.next(), RandomSequence{7}.next(1.0));
    EXPECT_EQ(a.next(0), a.next(0));
}

// The tools' host: the process's environment, the system clock (read here in UTC) and arguments.
TEST(StandardHost, ReadsTheProcessEnvironmentClockAndArguments) {
    struct ProcessHost : StandardHost {
        [[noreturn]] void endProgram(std::u16string_view) override { std::abort(); }
    } host;
    setenv("PELMORA_TEST_VARIABLE", "日本", 1);
    EXPECT_EQ(host.environmentVariable(u"PELMORA_TEST_VARIABLE"), u"日本");
    EXPECT_EQ(host.environmentVariable(u"PELMORA_TEST_VARIABL"), std::nullopt);
    auto entries = host.environmentEntries();
    EXPECT_EQ(std::count(entries.begin(), entries.end(), u"PELMORA_TEST_VARIABLE=日本"), 1);
    unsetenv("PELMORA_TEST_VARIABLE");

    using namespace std::chrono;
    setenv("TZ", "UTC", 1);  // only this test reads the process's zone
    tzset();
    auto utc = [] { return local_seconds{floor<seconds>(system_clock::now()).time_since_epoch()}; };
    const auto before = utc();
    const auto read = host.now();
    EXPECT_LE(before, read);
    EXPECT_LE(read, utc());
    host.setFixedNow(LocalTime{seconds{86400}});
    EXPECT_EQ(host.now(), LocalTime{seconds{86400}});

    char program[] = "pelmora-eval", first[] = "a", second[] = "b c";
    char* argv[] = {program, first, second};
    EXPECT_EQ(joinArguments(3, argv), u"a b c");
}

// The quoted values of fuzz/eval.dict, with \xNN and \\ / \" read back.
std::set<std::string> dictionaryEntries() {
    std::set<std::string> entries;
    std::ifstream in(PELMORA_FUZZ_DIR "/eval.dict");
    for (std::string line; std::getline(in, line);) {
        auto open = line.find('"');
        if (line[0] == '#' || open == std::string::npos) continue;
        std::string value;
        for (std::size_t i = open + 1; i + 1 < line.size(); ++i) {
            if (line.compare(i, 2, "\\x") == 0) {
                value += static_cast<char>(std::stoi(line.substr(i + 2, 2), nullptr, 16));
                i += 3;
            } else {
                value += line[i += line[i] == '\\'];
            }
        }
        entries.insert(value);
    }
    return entries;
}

TEST(FuzzDictionary, HoldsEveryBuiltInNameWordAndMark) {
    auto entries = dictionaryEntries();
    for (const auto& entry : builtinTable()) EXPECT_TRUE(entries.count(toUtf8(entry.name)));
    for (const auto& entry : bareNameTable()) EXPECT_TRUE(entries.count(toUtf8(entry.name)));
    for (const char* other : {"MOD", "AND", "OR", "XOR", "NOT", "&H", "&O", "\"", "(", ")", ",",
                              "#", "$", "%", "&", "!", "@"})
        EXPECT_TRUE(entries.count(other)) << other;
}

}  // namespace
}  // namespace pelmora::testing
