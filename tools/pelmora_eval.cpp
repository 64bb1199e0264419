// pelmora-eval: the expression evaluator on the command line.
//
//   pelmora-eval [options] EXPR...   one line per expression: "Kind: text [code N]"
//   pelmora-eval [options]           a prompt on a terminal, otherwise one expression a line
//   pelmora-eval --jsonl [options]   one JSON object per line of standard input
//   pelmora-eval --list-functions    the table of built-in names
#include <pelmora/conversions.h>
#include <pelmora/evaluator.h>
#include <pelmora/failure.h>
#include <pelmora/standard_host.h>
#include "tools/command_line.h"
#include "tools/function_list.h"
#include "tools/language_reference.h"
#include "tools/line_editor.h"

#include <unistd.h>

#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

using pelmora::Value;

using pelmora::tools::flushOutput;
using pelmora::tools::writeOutput;

// A JSON string from UTF-16: pairs as UTF-8, lone surrogates as \u escapes.
std::string jsonString(std::u16string_view text) {
    std::string out = "\"";
    auto escape = [&](unsigned u) {
        static constexpr char kHex[] = "0123456789abcdef";
        out += "\\u";
        for (int shift = 12; shift >= 0; shift -= 4) out.push_back(kHex[(u >> shift) & 0xF]);
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        char16_t u = text[i];
        bool lead = u >= 0xD800 && u <= 0xDBFF;
        bool trail = u >= 0xDC00 && u <= 0xDFFF;
        if (lead && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            out += pelmora::toUtf8(text.substr(i, 2));
            ++i;
        } else if (lead || trail) {
            escape(u);
        } else if (u == u'"') {
            out += "\\\"";
        } else if (u == u'\\') {
            out += "\\\\";
        } else if (u == u'\n') {
            out += "\\n";
        } else if (u == u'\r') {
            out += "\\r";
        } else if (u == u'\t') {
            out += "\\t";
        } else if (u < 0x20) {
            escape(u);
        } else {
            out += pelmora::toUtf8(text.substr(i, 1));
        }
    }
    return out + "\"";
}

std::string hexBytes(const std::string& bytes) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out;
    for (unsigned char b : bytes) {
        out.push_back(kHex[b >> 4]);
        out.push_back(kHex[b & 0xF]);
    }
    return out;
}

// The plain text form, or nothing for a value that has none (a Date beyond the calendar).
std::u16string textOf(const Value& v) {
    try {
        return pelmora::plainText(v);
    } catch (const pelmora::EvalFailure&) {
        return {};
    }
}

class ToolHost : public pelmora::StandardHost {
  public:
    bool jsonl = false;

    // As in the game: the documented exit status 3.
    UndeclaredCall undeclaredCall() override { return UndeclaredCall::EndProgram; }
    [[noreturn]] void endProgram(std::u16string_view message) override {
        flushOutput();
        if (jsonl) {
            writeOutput("{\"ended\": " + jsonString(message) + "}\n");
            flushOutput();
        } else {
            std::string line = pelmora::toUtf8(message) + "\n";
            std::fwrite(line.data(), 1, line.size(), stderr);
        }
        std::_Exit(pelmora::tools::kProgramEnded);
    }
};

std::optional<pelmora::LocalTime> parseNow(std::string_view s) {
    // YYYY-MM-DDTHH:MM:SS
    if (s.size() != 19 || s[4] != '-' || s[7] != '-' || s[10] != 'T' || s[13] != ':' ||
        s[16] != ':')
        return std::nullopt;
    auto field = [&](std::size_t pos, std::size_t len, int& out) {
        auto [p, ec] = std::from_chars(s.data() + pos, s.data() + pos + len, out);
        return ec == std::errc() && p == s.data() + pos + len;
    };
    int y, mo, d, h, mi, se;
    if (!field(0, 4, y) || !field(5, 2, mo) || !field(8, 2, d) || !field(11, 2, h) ||
        !field(14, 2, mi) || !field(17, 2, se))
        return std::nullopt;
    using namespace std::chrono;
    year_month_day day{year{y}, month{static_cast<unsigned>(mo)},
                       std::chrono::day{static_cast<unsigned>(d)}};
    if (!day.ok() || h > 23 || mi > 59 || se > 59) return std::nullopt;
    return local_days{day} + hours{h} + minutes{mi} + seconds{se};
}

std::string plainLine(const Value& v, int code) {
    std::string line = std::string(pelmora::kindName(v.kind())) + ": " + pelmora::toUtf8(textOf(v));
    if (code != 0) line += " [code " + std::to_string(code) + "]";
    return line + "\n";
}

std::string jsonLine(const Value& v, int code) {
    std::string line = "{\"kind\": \"" + std::string(pelmora::kindName(v.kind())) +
                       "\", \"text\": " + jsonString(textOf(v)) +
                       ", \"code\": " + std::to_string(code);
    if (v.isString()) line += ", \"bytes\": \"" + hexBytes(v.asString().byteView()) + "\"";
    return line + "}\n";
}

// "help NAME" at the prompt: the word help, then one name; nothing for any other line.
std::optional<std::string_view> helpRequest(std::string_view line) {
    auto trim = [](std::string_view s) {
        auto first = s.find_first_not_of(" \t");
        if (first == std::string_view::npos) return std::string_view{};
        return s.substr(first, s.find_last_not_of(" \t") - first + 1);
    };
    line = trim(line);
    if (line.size() < 4) return std::nullopt;
    for (std::size_t i = 0; i < 4; ++i)
        if ((line[i] | 0x20) != "help"[i]) return std::nullopt;
    if (line.size() == 4) return std::string_view{};
    if (line[4] != ' ' && line[4] != '\t') return std::nullopt;
    std::string_view name = trim(line.substr(4));
    if (name.find_first_of(" \t") != std::string_view::npos) return std::nullopt;
    return name;
}

std::string helpText(std::string_view name) {
    if (name.empty())
        return "help NAME shows a built-in's slots, result and an example; Tab completes a "
               "name.\n" +
               pelmora::tools::functionList();
    if (auto entry = pelmora::tools::functionHelp(name, kLanguageReference)) return *entry;
    return "No built-in is called " + std::string(name) + "; help alone lists them.\n";
}

// One line of input without its line end (a CR before the LF belongs to the line end); a last
// line without a line end counts.
class LineReader {
  public:
    ~LineReader() { std::free(buffer_); }

    std::optional<std::string_view> next() {
        ssize_t n = getline(&buffer_, &capacity_, stdin);
        if (n <= 0) return std::nullopt;
        std::string_view line(buffer_, static_cast<std::size_t>(n));
        if (line.back() == '\n') {
            line.remove_suffix(1);
            if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        }
        return line;
    }

  private:
    char* buffer_ = nullptr;
    std::size_t capacity_ = 0;
};

constexpr std::string_view kFooter = R"(Examples:
  pelmora-eval '3+4*2-1' '"a"+1'       prints "Double: 10" and "String: a 1"
  pelmora-eval                          a prompt with line editing on a terminal
  pelmora-eval --jsonl < formulas.txt   one JSON object per input line
  pelmora-eval -- --1                   an expression that starts with "--"
  pelmora-eval --list-functions         every built-in with its slots and result

At the prompt, Tab completes a built-in's name and "help NAME" shows its slots, its
result, what it does and an example ("help" alone lists every built-in).

Each result is printed as its kind and its text; " [code N]" follows when the error code is
not 0. With --jsonl each line of standard input is one expression (UTF-8; a bad byte reads as
U+FFFD) and each answer is one line {"kind": K, "text": T, "code": C}, plus "bytes" for a
String. The history file is read and written only when --history is given.)";

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{
        "Evaluates each EXPR and prints its result, one line each. Without EXPR it reads\n"
        "the expressions from standard input, one a line, with a prompt on a terminal.\n"
        "Arguments that start with \"--\" are options up to a lone \"--\"; everything\n"
        "else, and everything after \"--\", is an expression.",
        "pelmora-eval"};
    pelmora::tools::describe(app, "pelmora-eval [OPTIONS] [--] [EXPR...]", kFooter);
    bool jsonl = false;
    bool listFunctions = false;
    std::string now;
    std::string seed;
    std::optional<std::string> commandLine;
    std::optional<std::string> historyFile;
    app.add_flag("--jsonl", jsonl, "Read one expression a line, answer one JSON object a line");
    app.add_flag("--list-functions", listFunctions,
                 "Print every built-in with its slots and result kind, and exit");
    app.add_option("--now", now, "Fix the clock at this local time")
        ->type_name("YYYY-MM-DDTHH:MM:SS");
    app.add_option("--seed", seed, "Seed the random sequence (a whole number)")->type_name("N");
    app.add_option("--command-line", commandLine, "What COMMAND$ returns")->type_name("TEXT");
    app.add_option("--history", historyFile,
                   "Keep the prompt's history in FILE across sessions (off unless given)")
        ->type_name("FILE");
    // Expressions are what no option takes: an argument such as -X+1 is an expression.
    app.allow_extras();
    if (auto status = pelmora::tools::parse(app, argc, argv)) return *status;
    std::vector<std::string> expressions;
    bool onlyExpressions = false;
    for (auto& argument : app.remaining()) {
        if (!onlyExpressions && argument == "--") {
            onlyExpressions = true;
        } else if (!onlyExpressions && argument.size() > 2 && argument.starts_with("--")) {
            pelmora::tools::usageError(app, "unknown option " + argument);
        } else {
            expressions.push_back(std::move(argument));
        }
    }
    if (listFunctions) {
        writeOutput(pelmora::tools::functionList());
        flushOutput();
        return 0;
    }
    if (jsonl && !expressions.empty())
        pelmora::tools::usageError(app, "--jsonl reads its expressions from standard input");

    ToolHost host;
    host.jsonl = jsonl;
    if (app.count("--now")) {
        auto t = parseNow(now);
        if (!t)
            pelmora::tools::usageError(app, "--now takes YYYY-MM-DDTHH:MM:SS, not '" + now + "'");
        host.setFixedNow(t);
    }
    if (app.count("--seed")) {
        std::uint64_t n = 0;
        auto [end, error] = std::from_chars(seed.data(), seed.data() + seed.size(), n);
        if (error != std::errc() || end != seed.data() + seed.size())
            pelmora::tools::usageError(app, "--seed takes a whole number, not '" + seed + "'");
        host.seedRandom(n);
    }
    if (commandLine) host.setCommandLine(pelmora::fromUtf8(*commandLine));

    pelmora::Evaluator evaluator(host);
    auto evaluate = [&](std::string_view utf8) {
        evaluator.EvalErrorCode = 0;
        Value v = evaluator.Eval(pelmora::fromUtf8(utf8));
        return v;
    };

    if (!expressions.empty()) {
        for (const auto& e : expressions) {
            Value v = evaluate(e);
            writeOutput(plainLine(v, evaluator.EvalErrorCode));
        }
        flushOutput();
        return 0;
    }

    if (!jsonl && isatty(STDIN_FILENO)) {
        pelmora::tools::LineEditor editor("pelmora-eval", historyFile,
                                          pelmora::tools::completionNames());
        while (auto line = editor.readLine()) {
            if (auto name = helpRequest(*line)) {
                writeOutput(helpText(*name));
                flushOutput();
                continue;
            }
            Value v = evaluate(*line);
            writeOutput(plainLine(v, evaluator.EvalErrorCode));
            flushOutput();
        }
        writeOutput("\n");
        flushOutput();
        return 0;
    }

    LineReader reader;
    while (auto line = reader.next()) {
        Value v = evaluate(*line);
        writeOutput(jsonl ? jsonLine(v, evaluator.EvalErrorCode)
                          : plainLine(v, evaluator.EvalErrorCode));
        flushOutput();
    }
    return 0;
}
