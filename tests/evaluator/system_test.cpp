// The conversion, clock and system built-ins, and the calendar behind the Date kind.
#include "fake_host.h"

#include "evaluator/builtins_system.h"
#include "evaluator/datetime.h"
#include "evaluator/failure.h"
#include "evaluator/port.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace pelmora::testing {
namespace {

// A failure inside the built-in ends the call; the Eval around it gives Empty and code 2.
void checkFailures(const std::vector<const char*>& expressions) {
    for (const char* expression : expressions) {
        Bench bench;
        EXPECT_EQ(bench.show(expression), "Empty: ") << expression;
        EXPECT_EQ(bench.code(), 2) << expression;
    }
}

// ---- The calendar ----

struct TextRow {
    double days;
    const char* text;
};

TEST(DateText, WritesDateTimeOrBothByWhatIsPresent) {
    const TextRow rows[] = {
        {0, "0:00:00"},          {0.5, "12:00:00"},
        {1, "1899/12/31"},       {45351, "2024/02/29"},
        {46361, "2026/12/05"},   {46361.378553240741, "2026/12/05 9:05:07"},
        {-657434, "0100/01/01"}, {2958465.5, "9999/12/31 12:00:00"},
    };
    for (const auto& row : rows) EXPECT_EQ(toUtf8(dateText(row.days)), row.text) << row.days;
}

TEST(DateText, NegativeDayCountsTakeTheTimeFromTheAbsoluteValue) {
    const TextRow rows[] = {
        {-1, "1899/12/29"},
        {-1.25, "1899/12/29 6:00:00"},
        {-2.75, "1899/12/28 18:00:00"},
        {-0.5, "12:00:00"},
    };
    for (const auto& row : rows) EXPECT_EQ(toUtf8(dateText(row.days)), row.text) << row.days;
}

TEST(DateText, RoundsToTheSecondAndCarriesIntoTheNextDay) {
    const TextRow rows[] = {
        {0.4 / 86400, "0:00:00"},      {0.6 / 86400, "0:00:01"},   {0.9999999, "1899/12/31"},
        {46361.9999999, "2026/12/06"}, {-1.9999999, "1899/12/28"}, {-0.9999999, "1899/12/29"},
    };
    for (const auto& row : rows) EXPECT_EQ(toUtf8(dateText(row.days)), row.text) << row.days;
}

TEST(DateText, FailsOutsideTheYears100To9999) {
    const double rows[] = {-657435, 2958466, 1e300, -1e300, INFINITY, NAN};
    for (double days : rows) EXPECT_THROW(dateText(days), EvalFailure) << days;
}

TEST(DateText, SplitDateAndDayCountAreInverse) {
    using namespace std::chrono;
    const double rows[] = {0, 0.5, 1, -1.25, -657434, 46361.378553240741, 2958465.75};
    for (double days : rows) {
        DateParts p = splitDate(days);
        EXPECT_DOUBLE_EQ(dayCount(p.day, p.hour, p.minute, p.second), days) << days;
    }
    LocalTime t = local_days{year{2026} / 12 / 5} + hours{9} + minutes{5} + seconds{7};
    EXPECT_DOUBLE_EQ(dayCount(t), 46361.378553240741);
}

TEST(DateReading, ReadsADateATimeOrBoth) {
    const TextRow rows[] = {
        {(12 * 60 + 34) / 1440.0, "12:34"},
        {(12 * 3600 + 34 * 60 + 56) / 86400.0, "12:34:56"},
        {46361, "2026/12/05"},
        {46361, "2026/12/5"},
        {46361 + (9 * 60 + 5) / 1440.0, "2026/12/05 9:05"},
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
        "",
        "ABC",
        "12",
        "12:",
        ":30",
        "12:34:",
        "12:60",
        "24:00",
        "12:00:60",
        "123:00",
        "12:34:56:7",
        "12.34",
        "2026/12",
        "2026/13/01",
        "2026/02/29",
        "2026/12/00",
        "99/12/31",
        "10000/01/01",
        "2026-12-05",
        "2026/12/05X",
        "9:05 2026/12/05",
        "2026/12/05 25:00",
        "2026/12/0512:00",
        "1 2:00",
    };
    for (const char* text : rows) EXPECT_THROW(parseDateTime(fromUtf8(text)), EvalFailure) << text;
}

// ---- Clock ----

TEST(Clock, DateAndTimeNamesReadTheHostClock) {
    checkRows({
        {"DATE$", "String: 26/12/05"},
        {"TIME$", "Date: 21:30:20"},
        {"HOUR(TIME$)", "Integer: 21"},
        {"MINUTE(TIME$)", "Integer: 30"},
        {"TIME$*86400", "Double: 77420"},
        {"DATE$+\"!\"", "String: 26/12/05!"},
    });
    checkRows({{"DATE$", "String: 00/01/02"}, {"TIME$", "Date: 0:00:00"}}, [](FakeHost& h) {
        h.clock = std::chrono::local_days{std::chrono::year{2000} / 1 / 2};
    });
}

TEST(Clock, HourAndMinuteTakeAnyValueAsADateAndTime) {
    checkRows({
        {"HOUR(0.75)", "Integer: 18"},
        {"MINUTE(0.75)", "Integer: 0"},
        {"HOUR(-1.25)", "Integer: 6"},
        {"HOUR(46361.378553240741)", "Integer: 9"},
        {"MINUTE(46361.378553240741)", "Integer: 5"},
        {"MINUTE(\"12:34\")", "Integer: 34"},
        {"HOUR(\"12:34:56\")", "Integer: 12"},
        {"HOUR(\"2026/12/05 9:05\")", "Integer: 9"},
        {"MINUTE(\"2026/12/05 9:05:07\")", "Integer: 5"},
        {"HOUR(\"2026/12/05\")", "Integer: 0"},
        {"HOUR(1=1)", "Integer: 0"},
        {"HOUR(X)", "Integer: 0"},
        {"MINUTE(0.9999999)", "Integer: 0"},
        {"MINUTE(ERR)", "Integer: 0"},
        {"HOUR()", "Integer: 0", 2},
    });
}

TEST(Clock, HourAndMinuteFailOnWhatIsNoDateOrTime) {
    checkFailures({"HOUR(\"ABC\")", "MINUTE(\"\")", "HOUR(\"25:00\")", "HOUR(10^10)",
                   "MINUTE(0-10^7)", "HOUR(\"12\")"});
}

// ---- Evaluation and choice ----

TEST(Eval, EvaluatesTheArgumentAndThenItsText) {
    checkRows({
        {"EVAL(\"1+2\")", "Double: 3"},
        {"EVAL(1+2)", "Double: 3"},
        {"EVAL(\"\"\"A\"\"\")", "String: A"},
        {"EVAL(\"1<2\")", "Boolean: True"},
        {"EVAL(1<2)", "Integer: 0"},  // the text True is then read as a variable name
        {"EVAL(\"X$\")", "String: "},
        {"EVAL(\"\")", "Empty: ", 2},
        {"EVAL(1/0)", "Empty: ", 2},
    });
}

TEST(Iif, ChoosesBySlotZeroAfterEvaluatingAllThree) {
    checkRows({
        {"IIF(1,\"A\",\"B\")", "String: A"},
        {"IIF(0,\"A\",\"B\")", "String: B"},
        {"IIF(1=2,\"A\",\"B\")", "String: B"},
        {"IIF(\"TRUE\",1,2)", "Double: 1"},
        {"IIF(\"false\",1,2)", "Double: 2"},
        {"IIF(\" 3 \",1,2)", "Double: 1"},
        {"IIF(\"&H0\",1,2)", "Double: 2"},
        {"IIF(TIME$,1,2)", "Double: 1"},
        {"IIF(X,1,2)", "Double: 2"},
        {"IIF(1,X,2)", "Integer: 0"},
        {"IIF(1,TIME$,2)", "Date: 21:30:20"},
        {"IIF(,1,2)", "Double: 2", 2},
        {"IIF(1,2)", "Double: 2", 2},
        {"IIF(0,1/0,2)", "Double: 2", 2},
        {"IIF(1,2,1/0)", "Double: 2", 2},
    });
}

TEST(Iif, FailsOnAConditionThatIsNoTruthValue) {
    checkFailures({"IIF(\"X\",1,2)", "IIF(\"\",1,2)", "IIF(\"TRUE1\",1,2)"});
}

// ---- Number bases ----

TEST(HexOct, WidthFollowsTheValuesKind) {
    checkRows({
        {"HEX$(255)", "String: FF"},
        {"HEX$(0)", "String: 0"},
        {"HEX$(-1)", "String: FFFFFFFF"},
        {"HEX$(-2147483648)", "String: 80000000"},
        {"HEX$(CINT(-1))", "String: FFFF"},
        {"OCT$(CINT(-1))", "String: 177777"},
        {"HEX$(CINT(-32768))", "String: 8000"},
        {"HEX$(NOT X)", "String: FFFF"},  // the Integer -1
        {"OCT$(NOT X)", "String: 177777"},
        {"HEX$(1=1)", "String: FFFF"},
        {"HEX$(X)", "String: 0"},
        {"HEX$()", "String: 0", 2},
        {"OCT$(8)", "String: 10"},
        {"OCT$(-1)", "String: 37777777777"},
        {"HEX$(\"&H10\")", "String: 10"},
        {"HEX$(\"&HFFFF\")", "String: FFFFFFFF"},
    });
}

TEST(HexOct, FractionsRoundHalfToEven) {
    checkRows({
        {"HEX$(2.5)", "String: 2"},
        {"HEX$(3.5)", "String: 4"},
        {"HEX$(255.5)", "String: 100"},
        {"HEX$(0-2.5)", "String: FFFFFFFE"},
        {"OCT$(7.4)", "String: 7"},
    });
}

TEST(HexOct, FailsOutsideTheLongRangeOrOnText) {
    checkFailures({"HEX$(4294967296)", "HEX$(2147483648)", "OCT$(0-2147483649)", "HEX$(\"AB\")",
                   "OCT$(\"\")"});
}

// ---- Number text ----

TEST(StrAndSstr, WriteTheNumberWithASignPosition) {
    checkRows({
        {"STR$(5)", "String:  5"},
        {"STR$(-5)", "String: -5"},
        {"STR$(0)", "String:  0"},
        {"STR$(0.5)", "String:  .5"},
        {"STR$(-0.25)", "String: -.25"},
        {"STR$(10^20)", "String:  1E+20"},
        {"STR$(\"12\")", "String:  12"},
        {"STR$(1=1)", "String: True"},
        {"STR$(X)", "String:  0"},
        {"STR$(ERR)", "String:  0"},
        {"STR$()", "String:  0", 2},
        {"SSTR$(\"AB\")", "String: AB"},
        {"SSTR$(5)", "String:  5"},
        {"SSTR$(TIME$)", "String: 21:30:20"},
        {"SSTR$(1=2)", "String: False"},
        {"SSTR$()", "String:  0", 2},
    });
}

TEST(StrAndSstr, StrFailsOnTextThatIsNoNumberWhileSstrNeverFails) {
    checkFailures({"STR$(\"AB\")", "STR$(\"\")", "STR$(\"1.2.3\")"});
    // A Date beyond the calendar cannot be written: SStr records 10 and gives "".
    checkRows({{"SSTR$(TIME$+10000000)", "String: ", 10}});
}

TEST(Val, ReadsTheLeadingNumberAsADouble) {
    checkRows({
        {"VAL(\"1 2 3\")", "Double: 123"},
        {"VAL(\"&HFFFF\")", "Double: -1"},
        {"VAL((\"1,234\"))", "Double: 1"},
        {"VAL(\"1,234\")", "Double: 0", 2},  // the comma splits the argument list
        {"VAL(\"12AB\")", "Double: 12"},
        {"VAL(\"AB\")", "Double: 0"},
        {"VAL(\"\")", "Double: 0"},
        {"VAL(7\\2)", "Double: 3"},
        {"VAL(X)", "Double: 0"},
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
            {"ENVIRON$(\"HOME\")", "String: /home/player"},
            {"ENVIRON$(\"home\")", "String: /home/player"},  // arguments arrive upper-cased
            {"ENVIRON$(\"Mixed\")", "String: "},             // so MIXED, which is not set
            {"ENVIRON$(\"NOPE\")", "String: "},
            {"ENVIRON$(\"1\")", "String: "},  // a String is always a name
            {"ENVIRON$(1)", "String: HOME=/home/player"},
            {"ENVIRON$(2)", "String: LANG=ja_JP.UTF-8"},
            {"ENVIRON$(3)", "String: Mixed=case"},
            {"ENVIRON$(4)", "String: "},
            {"ENVIRON$(1.5)", "String: LANG=ja_JP.UTF-8"},
        },
        setUp);
    checkFailures({"ENVIRON$(0)", "ENVIRON$(-1)", "ENVIRON$(0.5)", "ENVIRON$(1=1)", "ENVIRON$()",
                   "ENVIRON$(2147483648)"});
}

TEST(Environ, NamesAreComparedWithRegardToCase) {
    // Only a text that did not pass through the upper-casing of a call shows this.
    Bench bench;
    bench.host.environment.emplace_back(u"home", u"lower");
    auto lookUp = [&](const char16_t* literal) {
        Call call{bench.evaluator, u"ENVIRON$"};
        call.slots[0] = literal;
        return describe(builtins::ENVIRON_S(call));
    };
    EXPECT_EQ(lookUp(u"\"home\""), "String: lower");
    EXPECT_EQ(lookUp(u"\"HOME\""), "String: /home/player");
    EXPECT_EQ(lookUp(u"\"Home\""), "String: ");
}

TEST(Environ, CommandLineComesFromTheHost) {
    checkRows({{"COMMAND$", "String: "}});
    checkRows({{"COMMAND$", "String: -x 日本"}, {"LEN(COMMAND$)", "Long: 5"}},
              [](FakeHost& h) { h.command = u"-x 日本"; });
}

// ---- System queries with fixed answers ----

TEST(SystemNames, CursorKeysAndErrorHaveFixedAnswers) {
    checkRows({
        {"CSRLIN", "Empty: "},
        {"INKEY$", "Empty: "},
        {"INKEY$+INKEY$", "Integer: 0"},  // each name has a buffer of its own: Empty twice
        {"ERR", "Object: 0"},
        {"ERR+1", "Double: 1"},
        {"POS(0)", "Empty: "},
        {"POS(1/0)", "Empty: "},
        {"POS(FOO(1))", "Empty: "},
        {"POS()", "Empty: "},
    });
}

TEST(SystemNames, InkeyEmptiesTheBufferOfItsCall) {
    Bench bench;
    Call call{bench.evaluator, u"INKEY$"};
    EXPECT_EQ(describe(builtins::INKEY_S(call)), "Empty: ");
    EXPECT_EQ(call.keyBuffer, Value::string(u""));
    EXPECT_EQ(describe(builtins::INKEY_S(call)), "String: ");
}

TEST(SystemNames, FilesNeverOpenSoFileQueriesFail) {
    checkFailures({"EOF(1)", "EOF(0)", "LOC(1)", "LOF(1)", "EOF(\"A\")", "LOF(40000)"});
}

TEST(SystemNames, PortReadsGiveIntegerZero) {
    checkRows(
        {{"INP(888)", "Integer: 0"}, {"INP(-32768)", "Integer: 0"}, {"INP()", "Integer: 0", 2}});
    checkFailures({"INP(40000)", "INP(-32769)", "INP(\"A\")"});
    EXPECT_EQ(portInput(0x378), Value::integer(0));
    EXPECT_EQ(portInput(-1), Value::integer(0));
}

TEST(SystemNames, InputWithTwoArgumentsOnlyRecordsCodeFive) {
    // Neither argument is evaluated: FOO(1) would end the program, 1/0 would record 2.
    checkRows({
        {"INPUT$(1,2)", "Empty: ", 5},
        {"INPUT$(1/0,FOO(1))", "Empty: ", 5},
        {"INPUT$(,)", "Empty: ", 5},
        {"INPUT$(1,2)+1", "Double: 1", 5},
    });
}

TEST(SystemNames, InputWithOneArgumentReturnsAtOnceWithNoKeys) {
    checkRows({
        {"INPUT$(1)", "String: "},
        {"INPUT$(0)", "String: "},
        {"INPUT$(100)", "String: "},
        {"INPUT$()", "String: ", 2},
    });
    checkFailures({"INPUT$(-1)", "INPUT$(\"A\")"});
}

}  // namespace
}  // namespace pelmora::testing
