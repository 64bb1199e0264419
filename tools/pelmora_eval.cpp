// pelmora-eval: the expression evaluator on the command line.
//
//   pelmora-eval [options] EXPR...   one line per expression: "Kind: text [code N]"
//   pelmora-eval [options]           a prompt on a terminal, otherwise one expression a line
//   pelmora-eval --jsonl [options]   one JSON object per line of standard input
//
// Options: --now YYYY-MM-DDTHH:MM:SS, --seed N, --command-line TEXT.
#include "evaluator/conversions.h"
#include "evaluator/evaluator.h"
#include "evaluator/failure.h"
#include "evaluator/standard_host.h"
#include "evaluator/text.h"

#include <unistd.h>

#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

using pelmora::Value;

constexpr int kUsageError = 2;
constexpr int kProgramEnded = 3;

void write(std::string_view s) {
    std::fwrite(s.data(), 1, s.size(), stdout);
}

void usageError(std::string_view message) {
    std::cerr << "pelmora-eval: " << message
              << " (usage: pelmora-eval [--jsonl] [--now YYYY-MM-DDTHH:MM:SS] [--seed N] "
                 "[--command-line TEXT] [EXPR...])\n";
    std::exit(kUsageError);
}

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

    [[noreturn]] void endProgram(std::u16string_view message) override {
        std::fflush(stdout);
        if (jsonl) {
            write("{\"ended\": " + jsonString(message) + "}\n");
        } else {
            std::cerr << pelmora::toUtf8(message) << "\n";
        }
        std::fflush(stdout);
        std::_Exit(kProgramEnded);
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

// One line of input without its line end (a CR before the LF belongs to the line end).
bool readLine(std::string& line) {
    line.clear();
    int c;
    bool any = false;
    while ((c = std::getchar()) != EOF) {
        any = true;
        if (c == '\n') break;
        line.push_back(static_cast<char>(c));
    }
    if (c == '\n' && !line.empty() && line.back() == '\r') line.pop_back();
    return any;
}

}  // namespace

int main(int argc, char** argv) {
    ToolHost host;
    std::vector<std::string> expressions;
    for (int i = 1; i < argc; ++i) {
        std::string_view a = argv[i];
        auto value = [&]() -> std::string_view {
            if (i + 1 >= argc) usageError(std::string(a) + " needs a value");
            return argv[++i];
        };
        if (a == "--jsonl") {
            host.jsonl = true;
        } else if (a == "--now") {
            auto t = parseNow(value());
            if (!t) usageError("--now takes YYYY-MM-DDTHH:MM:SS");
            host.setFixedNow(t);
        } else if (a == "--seed") {
            std::string_view s = value();
            std::uint64_t seed = 0;
            auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), seed);
            if (ec != std::errc() || p != s.data() + s.size())
                usageError("--seed takes a whole number");
            host.seedRandom(seed);
        } else if (a == "--command-line") {
            host.setCommandLine(pelmora::fromUtf8(value()));
        } else if (a == "--") {
            for (++i; i < argc; ++i) expressions.emplace_back(argv[i]);
        } else if (a.starts_with("--")) {
            usageError("unknown option " + std::string(a));
        } else {
            expressions.emplace_back(a);
        }
    }
    if (host.jsonl && !expressions.empty())
        usageError("--jsonl reads its expressions from standard input");

    pelmora::Evaluator evaluator(host);
    auto evaluate = [&](std::string_view utf8) {
        evaluator.EvalErrorCode = 0;
        Value v = evaluator.Eval(pelmora::fromUtf8(utf8));
        return v;
    };

    if (!expressions.empty()) {
        for (const auto& e : expressions) {
            Value v = evaluate(e);
            write(plainLine(v, evaluator.EvalErrorCode));
        }
        return 0;
    }

    bool prompt = !host.jsonl && isatty(STDIN_FILENO);
    std::string line;
    for (;;) {
        if (prompt) {
            write("> ");
            std::fflush(stdout);
        }
        if (!readLine(line)) break;
        Value v = evaluate(line);
        write(host.jsonl ? jsonLine(v, evaluator.EvalErrorCode)
                         : plainLine(v, evaluator.EvalErrorCode));
        std::fflush(stdout);
    }
    if (prompt) write("\n");
    return 0;
}
