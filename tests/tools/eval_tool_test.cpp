// pelmora-eval as a process: the command-line and JSON-lines contracts.
#include "tests/tools/process.h"

#include <gtest/gtest.h>

#include <string>

namespace pelmora::testing {
namespace {

TEST(EvalTool, ArgumentsPrintKindAndTextWithTheCode) {
    ProcessResult r = runProcess({PELMORA_EVAL_PATH, "3+4*2-1", "1/0", "+5", "\"a\"+1"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "Double: 10\nEmpty:  [code 2]\nDouble: 5 [code 3]\nString: a 1\n");
}

TEST(EvalTool, JsonLines) {
    struct Row {
        const char* what;
        std::string input;
        std::string out;
        int status;
    };
    const Row rows[] = {
        {"every line kept as it stands", "1+1\r\n\n \"x\" \n",
         "{\"kind\": \"Double\", \"text\": \"2\", \"code\": 0}\n"
         "{\"kind\": \"Empty\", \"text\": \"\", \"code\": 2}\n"
         "{\"kind\": \"String\", \"text\": \"x\", \"code\": 0, \"bytes\": \"7800\"}\n",
         0},
        {"the code reset before each line", "1/0\n1\n",
         "{\"kind\": \"Empty\", \"text\": \"\", \"code\": 2}\n"
         "{\"kind\": \"Double\", \"text\": \"1\", \"code\": 0}\n",
         0},
        {"quotes, backslashes and Japanese escaped", "\"a\"\"\\\"+\"あ\"\n",
         "{\"kind\": \"String\", \"text\": \"a\\\"\\\\あ\", \"code\": 0, \"bytes\": "
         "\"610022005c004230\"}\n",
         0},
        {"an undeclared array ends the program", "1\nFOO(1)\n2\n",
         "{\"kind\": \"Double\", \"text\": \"1\", \"code\": 0}\n"
         "{\"ended\": "
         "\"配列が宣言されていないのに10を越しました。\\r\\nまたは配列の次元が超えています。\"}\n",
         3},
    };
    for (const auto& row : rows) {
        ProcessResult r = runProcess({PELMORA_EVAL_PATH, "--jsonl"}, row.input);
        EXPECT_EQ(r.status, row.status) << row.what;
        EXPECT_EQ(r.out, row.out) << row.what;
    }
}

}  // namespace
}  // namespace pelmora::testing
