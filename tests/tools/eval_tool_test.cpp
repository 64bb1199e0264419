// pelmora-eval as a process: the command-line and JSON-lines contracts.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

struct Outcome {
    std::string out;
    int status = -1;
};

// Runs a shell command line, feeding `input` on standard input.
Outcome run(const std::string& arguments, const std::string& input = "") {
    char inPath[] = "/tmp/pelmora-eval-inXXXXXX";
    int fd = mkstemp(inPath);
    std::FILE* in = fdopen(fd, "w");
    std::fwrite(input.data(), 1, input.size(), in);
    std::fclose(in);
    std::string command =
        std::string(PELMORA_EVAL_PATH) + " " + arguments + " < " + inPath + " 2>/dev/null";
    Outcome r;
    std::FILE* p = popen(command.c_str(), "r");
    char buf[4096];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, n);
    int status = pclose(p);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::remove(inPath);
    return r;
}

TEST(EvalTool, ArgumentsPrintKindAndTextWithTheCode) {
    Outcome r = run("'3+4*2-1' '1/0' '+5' '\"a\"+1'");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "Double: 10\nEmpty:  [code 2]\nDouble: 5 [code 3]\nString: a 1\n");
}

TEST(EvalTool, JsonLinesKeepEveryLineAsItStands) {
    Outcome r = run("--jsonl", "1+1\r\n\n \"x\" \n");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out,
              "{\"kind\": \"Double\", \"text\": \"2\", \"code\": 0}\n"
              "{\"kind\": \"Empty\", \"text\": \"\", \"code\": 2}\n"
              "{\"kind\": \"String\", \"text\": \"x\", \"code\": 0, \"bytes\": \"7800\"}\n");
}

TEST(EvalTool, JsonLinesResetTheCodeBeforeEachLine) {
    Outcome r = run("--jsonl", "1/0\n1\n");
    EXPECT_EQ(r.out,
              "{\"kind\": \"Empty\", \"text\": \"\", \"code\": 2}\n"
              "{\"kind\": \"Double\", \"text\": \"1\", \"code\": 0}\n");
}

TEST(EvalTool, JsonEscapesQuotesControlsAndJapanese) {
    Outcome r = run("--jsonl", "\"a\"\"\\\"+\"あ\"\n");
    EXPECT_EQ(r.out,
              "{\"kind\": \"String\", \"text\": \"a\\\"\\\\あ\", \"code\": 0, \"bytes\": "
              "\"610022005c004230\"}\n");
}

TEST(EvalTool, UndeclaredArrayEndsTheProgram) {
    Outcome r = run("--jsonl", "1\nFOO(1)\n2\n");
    EXPECT_EQ(r.status, 3);
    EXPECT_EQ(
        r.out,
        "{\"kind\": \"Double\", \"text\": \"1\", \"code\": 0}\n"
        "{\"ended\": "
        "\"配列が宣言されていないのに10を越しました。\\r\\nまたは配列の次元が超えています。\"}\n");
}

TEST(EvalTool, WrongUsageExitsWithTwo) {
    EXPECT_EQ(run("--bogus").status, 2);
    EXPECT_EQ(run("--now").status, 2);
    EXPECT_EQ(run("--now 2026-13-01T00:00:00 1").status, 2);
    EXPECT_EQ(run("--seed x 1").status, 2);
    EXPECT_EQ(run("--jsonl 1+1").status, 2);
}

}  // namespace
