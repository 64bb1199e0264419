#include "tools/command_line.h"

#include <pelmora/version.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace pelmora::tools {
namespace {

// The name messages start with; describe() sets it.
std::string programName = "pelmora";

void writeLine(std::FILE* stream, std::string text) {
    // Messages stay on one line, whatever the parser put in them.
    while (!text.empty() && text.back() == '\n') text.pop_back();
    for (char& c : text)
        if (c == '\n') c = ' ';
    text.push_back('\n');
    std::fwrite(text.data(), 1, text.size(), stream);
}

class Formatter : public CLI::Formatter {
  public:
    explicit Formatter(std::string usage) : usage_(std::move(usage)) {}

    std::string make_usage(const CLI::App* app, std::string) const override {
        return "Usage: " + usage_ + "\n\n" + app->get_description() + "\n";
    }
    std::string make_description(const CLI::App*) const override { return {}; }

  private:
    std::string usage_;
};

}  // namespace

void describe(CLI::App& app, std::string_view usage, std::string_view footer) {
    programName = app.get_name();
    // A write to a closed pipe then fails with EPIPE instead of killing the program.
    std::signal(SIGPIPE, SIG_IGN);
    app.formatter(std::make_shared<Formatter>(std::string(usage)));
    app.set_help_flag("-h,--help", "Print this help and exit");
    app.set_version_flag("--version", app.get_name() + " " + PELMORA_VERSION_TEXT,
                         "Print the version and exit");
    app.footer(std::string(footer) + "\n\n" +
               std::string(kExitStatuses.substr(0, kExitStatuses.size() - 1)));
    app.get_formatter()->column_width(34);
    // A value given twice: the last one counts.
    app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
}

std::optional<int> parse(CLI::App& app, int argc, char** argv) {
    try {
        app.parse(argc, argv);
        return std::nullopt;
    } catch (const CLI::CallForHelp&) {
        std::string help = app.help();
        std::fwrite(help.data(), 1, help.size(), stdout);
        return 0;
    } catch (const CLI::CallForVersion& version) {
        writeLine(stdout, version.what());
        return 0;
    } catch (const CLI::ParseError& e) {
        writeLine(stderr, app.get_name() + ": " + e.what() + " (see --help)");
        return kUsageError;
    }
}

void usageError(const CLI::App& app, std::string_view message) {
    writeLine(stderr, app.get_name() + ": " + std::string(message) + " (see --help)");
    std::exit(kUsageError);
}

namespace {
[[noreturn]] void writeFailed() {
    const int error = errno;
    if (error == EPIPE) std::_Exit(0);
    writeLine(stderr, programName + ": cannot write the output: " + std::strerror(error));
    std::_Exit(kWriteError);
}
}  // namespace

void writeOutput(std::string_view text) {
    if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size()) writeFailed();
}

void flushOutput() {
    if (std::fflush(stdout) != 0) writeFailed();
}

}  // namespace pelmora::tools
