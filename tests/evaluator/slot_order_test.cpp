// Functions evaluate every slot they name, in order, before converting any of them: a later
// slot that ends the program must end it even when an earlier slot cannot be converted.
#include "fake_host.h"

#include <gtest/gtest.h>

namespace pelmora::testing {
namespace {

TEST(SlotOrder, LaterSlotIsEvaluatedBeforeAnEarlierOneIsConverted) {
    // Slot 0 cannot be converted (the empty text, or a date past the last day), so an early
    // conversion would fail with code 2 before FOO(1) was reached.
    for (const char* text : {
             R"(ROUND("",FOO(1)))",
             R"(ROUND("x",FOO(1)))",
             "LEFT$(TIME$+2958466,FOO(1))",
             "RIGHT$(TIME$+2958466,FOO(1))",
             "MID$(TIME$+2958466,FOO(1))",
             "MID$(TIME$+2958466,FOO(1),1)",
         }) {
        Bench bench;
        EXPECT_THROW(bench.eval(text), ProgramEnded) << text;
    }
}

TEST(SlotOrder, ConversionFailuresStillGiveCode2) {
    checkRows({
        {R"(ROUND("",1))", "Empty: ", 2},
        {R"(ROUND(1.25,"x"))", "Empty: ", 2},
        {"LEFT$(TIME$+2958466,1)", "Empty: ", 2},
        {R"(RIGHT$("AB","x"))", "Empty: ", 2},
        {R"(MID$("AB",0))", "Empty: ", 2},
        {R"(ROUND(2.5,0))", "Double: 2"},
        {R"(LEFT$("ABC",4))", "String: AB"},
    });
}

}  // namespace
}  // namespace pelmora::testing
