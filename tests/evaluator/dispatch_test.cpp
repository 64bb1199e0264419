// Every built-in name reaches its own entry; any other call is an undeclared array (with the
// space of "SIN (1)" kept in its name).
#include "fake_host.h"

#include "evaluator/builtins.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace pelmora::testing {
namespace {

// The name a call uses to reach the entry; the range entry is reached by one of its names.
std::u16string callName(const BuiltinEntry& entry) {
    return entry.rangeAbove.empty() ? std::u16string(entry.name) : u"LOG2";
}

TEST(BuiltinDispatch, EveryNameMatchesItsOwnEntryFirst) {
    auto table = builtinTable();
    ASSERT_EQ(table.size(), 93u);
    for (std::size_t i = 0; i < table.size(); ++i) {
        std::u16string name = callName(table[i]);
        std::size_t first = 0;
        while (first < table.size() && !table[first].matches(name)) ++first;
        EXPECT_EQ(first, i) << toUtf8(name);
    }
}

TEST(BuiltinDispatch, EntriesRunDistinctFunctionsExceptSpaceAndSpc) {
    std::map<Builtin, std::u16string> owner;
    for (const auto& entry : builtinTable()) {
        auto [it, fresh] = owner.emplace(entry.function, entry.name);
        if (!fresh) {
            EXPECT_EQ(toUtf8(it->second) + "/" + toUtf8(entry.name), "SPACE$/SPC");
        }
    }
    EXPECT_EQ(owner.size(), 92u);
}

TEST(BuiltinDispatch, EveryNameIsCalledNotTakenForAnArray) {
    for (const auto& entry : builtinTable()) {
        std::u16string call = callName(entry) + u"(1)";
        Bench bench;
        EXPECT_NO_THROW(bench.evaluator.Eval(call))
            << toUtf8(call) << " took the undeclared-name path";
    }
}

TEST(BuiltinDispatch, OtherCallsAreUndeclaredArraysThatEndTheProgram) {
    const char* calls[] = {
        "FOO(1)",    "FOO(99)",  "FOO()",     "DATE$()",     "TIME$(1)",
        "LCASE(1)",  "TRIM$(1)", "UCASE$(1)", "LEFT(1)",     "SIN (1)",
        "LOG990(1)", "LOGA(1)",  "1+FOO(2)",  "ABS(FOO(1))", "F(1,2,3,4,5,6,7,8)",
    };
    for (const char* text : calls) {
        Bench bench;
        try {
            bench.eval(text);
            ADD_FAILURE() << text << " returned";
        } catch (const ProgramEnded& ended) {
            EXPECT_EQ(
                toUtf8(ended.message),
                "配列が宣言されていないのに10を越しました。\r\nまたは配列の次元が超えています。")
                << text;
        }
    }
}

TEST(BuiltinDispatch, RangeEntryCoversLogNamesUpToLog99) {
    const BuiltinEntry* range = nullptr;
    for (const auto& entry : builtinTable())
        if (!entry.rangeAbove.empty()) range = &entry;
    ASSERT_NE(range, nullptr);
    for (auto name : {u"LOG0", u"LOG2", u"LOG10", u"LOG99", u"LOG1000"})
        EXPECT_TRUE(range->matches(name)) << toUtf8(name);
    for (auto name : {u"LOG", u"LOG990", u"LOGA", u"LO"})
        EXPECT_FALSE(range->matches(name)) << toUtf8(name);
}

}  // namespace
}  // namespace pelmora::testing
