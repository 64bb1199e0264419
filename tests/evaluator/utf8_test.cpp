// The UTF-8 overloads of everything public that takes a text.
#include <pelmora/sandbox_host.h>
#include "fake_host.h"

namespace pelmora::testing {
namespace {

TEST(Utf8, EveryTextTakingCallReadsUtf8AsItsUtf16Twin) {
    SandboxHost host;
    Evaluator evaluator(host);
    for (const char* text : {"LEN(\"日本語\")", "\"ｱ\"+\"𝑥\"", "KLEN(\"漢字\")", "3+4*2-1"}) {
        EXPECT_EQ(evaluator.Eval(std::string_view(text)), evaluator.Eval(fromUtf8(text))) << text;
    }
    EXPECT_EQ(leadingNumber(std::string_view(" 12.5円")), 12.5);
    EXPECT_EQ(Value::string(std::string_view("日本")), Value::string(u"日本"));
    EXPECT_EQ(plainTextUtf8(Value::string(u"日本")), "日本");
    EXPECT_EQ(plainTextUtf8(Value::number(0.5)), "0.5");
}

}  // namespace
}  // namespace pelmora::testing
