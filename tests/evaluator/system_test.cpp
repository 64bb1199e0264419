// The conversion, clock and system built-ins, and the calendar behind the Date kind.
#include "fake_host.h"

#include <pelmora/failure.h>
#include "evaluator/builtins_system.h"
#include "evaluator/datetime.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace pelmora::testing {
namespace {

// A failure inside a built-in ends the call; the Eval around it gives Empty and code 2
// (checkFailures).

// ---- The calendar ----

struct TextRow {
    double days;
    const char* text;
};

// Date, time or both by what is present; negative day counts take the time from the absolute
// value; rounding to the second carries into the next day; only the years 100 to 9999.
TEST(DateText, WritesDateTimeOrBothByWhatIsPresent) {
    const TextRow rows[] = {
        {0, "0:00:00"},
        {1, "1899/12/31"},
        {45351, "2024/02/29"},
        {46361.378553240741, "2026/12/05 9:05:07"},
        {-657434, "0100/01/01"},
        {2958465.5, "9999/12/31 12:00:00"},
        {-1.25, "1899/12/29 6:00:00"},
        {-0.5, "12:00:00"},
        {0.6 / 86400, "0:00:01"},
        {46361.9999999, "2026/12/06"},
        {-0.9999999, "1899/12/29"},
    };
    for (const auto& row : rows) EXPECT_EQ(toUtf8(dateText(row.days)), row.text) << row.days;
    for (double days : {-657435.0, 2958466.0, double(INFINITY), double(NAN)})
        EXPECT_THROW(dateText(days), EvalFailure) << days;
}

TEST(DateReading, ReadsADateATimeOrBoth) {
    const TextRow rows[] = {
        {(12 * 60 + 34) / 1440.0, "12:34"},
        {46361, "2026/12/5"},
        {46361.378553240741, "2026/12/05 9:05:07"},
        {-1.25, "1899/12/29 6:00"},
        {0.75, "  18:00  "},
        {-657434, "100/01/01"},
    };
    for (const auto& row : rows)
        EXPECT_DOUBLE_EQ(parseDateTime(fromUtf8(row.text)), row.days) << row.text;
}

TEST(DateReading, RejectsAnythingElse) {
    const char* rows[] = {
        "",           "12",       "12:60",       "24:00",      "12:34:56:7",  "2026/13/01",
        "2026/02/29", "99/12/31", "10000/01/01", "2026-12-05", "2026/12/05X", "9:05 2026/12/05",
    };
    for (const char* text : rows) EXPECT_THROW(parseDateTime(fromUtf8(text)), EvalFailure) << text;
}

// ---- Clock ----

TEST(Clock, DateAndTimeNamesReadTheHostClock) {
    checkRows({
        {"DATE$", "String: 26/12/05"},
        {"TIME$", "Date: 21:30:20"},
    });
    checkRows({{"DATE$", "String: 00/01/02"}, {"TIME$", "Date: 0:00:00"}}, [](FakeHost& h) {
        h.clock = std::chrono::local_days{std::chrono::year{2000} / 1 / 2};
    });
}

TEST(Clock, HourAndMinuteTakeAnyValueAsADateAndTime) {
    checkRows({
        {"HOUR(0.75)", "Integer: 18"},
        {"HOUR(-1.25)", "Integer: 6"},
        {"MINUTE(\"12:34\")", "Integer: 34"},
        {"HOUR(\"2026/12/05 9:05\")", "Integer: 9"},
        {"MINUTE(0.9999999)", "Integer: 0"},
        {"HOUR()", "Integer: 0", 2},
    });
    checkFailures({"HOUR(\"ABC\")", "HOUR(10^10)", "MINUTE(0-10^7)"});
}

// ---- Evaluation and choice ----

TEST(Eval, EvaluatesTheArgumentAndThenItsText) {
    checkRows({
        {"EVAL(\"1+2\")", "Double: 3"},
        {"EVAL(\"\"\"A\"\"\")", "String: A"},
        {"EVAL(1<2)", "Integer: 0"},  // the text True is then read as a variable name
        {"EVAL(\"\")", "Empty: ", 2},
    });
}

TEST(Iif, ChoosesBySlotZeroAfterEvaluatingAllThree) {
    checkRows({
        {"IIF(\"false\",1,2)", "Double: 2"},
        {"IIF(TIME$,1,2)", "Double: 1"},
        {"IIF(X,1,2)", "Double: 2"},
        {"IIF(1,TIME$,2)", "Date: 21:30:20"},
        {"IIF(,1,2)", "Double: 2", 2},
        {"IIF(0,1/0,2)", "Double: 2", 2},
        {"IIF(1,2,1/0)", "Double: 2", 2},
    });
    checkFailures({"IIF(\"X\",1,2)", "IIF(\"\",1,2)"});
}

// ---- Number bases ----

TEST(HexOct, WidthFollowsTheValuesKind) {
    checkRows({
        {"HEX$(-1)", "String: FFFFFFFF"},
        {"HEX$(-2147483648)", "String: 80000000"},
        {"HEX$(CINT(-1))", "String: FFFF"},
        {"OCT$(CINT(-1))", "String: 177777"},
        {"HEX$(1=1)", "String: FFFF"},
        {"HEX$()", "String: 0", 2},
        {"OCT$(-1)", "String: 37777777777"},
        {"HEX$(\"&HFFFF\")", "String: FFFFFFFF"},
    });
    checkFailures({"HEX$(2147483648)", "OCT$(0-2147483649)", "HEX$(\"AB\")"});
}

// ---- Number text ----

TEST(StrAndSstr, WriteTheNumberWithASignPosition) {
    checkRows({
        {"STR$(5)", "String:  5"},
        {"STR$(-5)", "String: -5"},
        {"STR$(\"12\")", "String:  12"},
        {"STR$(1=1)", "String: True"},
        {"STR$()", "String:  0", 2},
        {"SSTR$(\"AB\")", "String: AB"},
        {"SSTR$(TIME$)", "String: 21:30:20"},
        // A Date beyond the calendar cannot be written: SStr records 10 and gives "".
        {"SSTR$(TIME$+10000000)", "String: ", 10},
    });
    checkFailures({"STR$(\"AB\")", "STR$(\"\")"});
}

TEST(Val, ReadsTheLeadingNumberAsADouble) {
    checkRows({
        {"VAL(\"1 2 3\")", "Double: 123"},
        {"VAL((\"1,234\"))", "Double: 1"},
        {"VAL(\"1,234\")", "Double: 0", 2},  // the comma splits the argument list
        {"VAL(\"12AB\")", "Double: 12"},
        {"VAL(1=1)", "Double: 0"},
        {"VAL(TIME$)", "Double: 21"},
        {"VAL()", "Double: 0", 2},
    });
    checkFailures({"VAL(\"1E999\")"});
}

// ---- Environment and command line ----

TEST(Environ, LooksUpANameOrCountsEntries) {
    auto setUp = [](FakeHost& h) { h.environment.emplace_back(u"Mixed", u"case"); };
    checkRows(
        {
            {"ENVIRON$(\"home\")", "String: /home/player"},  // arguments arrive upper-cased
            {"ENVIRON$(\"Mixed\")", "String: "},             // so MIXED, which is not set
            {"ENVIRON$(\"1\")", "String: "},                 // a String is always a name
            {"ENVIRON$(1)", "String: HOME=/home/player"},
            {"ENVIRON$(3)", "String: Mixed=case"},
            {"ENVIRON$(4)", "String: "},
        },
        setUp);
    checkFailures({"ENVIRON$(0)", "ENVIRON$(0.5)", "ENVIRON$()"});
    checkRows({{"COMMAND$", "String: -x 日本"}}, [](FakeHost& h) { h.command = u"-x 日本"; });
}

// ---- System queries with fixed answers ----

TEST(SystemNames, FixedAnswersCodeFiveAndFilesThatNeverOpen) {
    checkRows({
        {"CSRLIN", "Empty: "},
        {"INKEY$", "Empty: "},
        {"INKEY$+INKEY$", "Integer: 0"},  // each name has a buffer of its own: Empty twice
        {"ERR", "Object: 0"},
        {"POS(1/0)", "Empty: "},
        {"INP(888)", "Integer: 0"},
        // INPUT$ with two arguments evaluates neither (FOO(1) would end the program, 1/0 would
        // record 2) and only records 5; with one it returns at once, there being no keys.
        {"INPUT$(1/0,FOO(1))", "Empty: ", 5},
        {"INPUT$(1,2)+1", "Double: 1", 5},
        {"INPUT$(1)", "String: "},
        {"INPUT$()", "String: ", 2},
    });
    // Files never open, so file queries fail.
    checkFailures(
        {"INP(\"A\")", "EOF(1)", "LOC(1)", "LOF(1)", "EOF(\"A\")", "LOF(40000)", "INPUT$(-1)"});
}

}  // namespace
}  // namespace pelmora::testing
