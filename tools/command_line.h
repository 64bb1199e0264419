// The conventions the command-line programs share: --help and --version print on standard
// output and end with status 0; wrong usage is one line on standard error and status 2; output
// that cannot be written ends the program (tools/exit_status.h has every status).
#pragma once

#include "tools/exit_status.h"

#include <CLI/CLI.hpp>

#include <optional>
#include <string_view>

namespace pelmora::tools {

// Sets the help and version options and the help layout: the usage lines first, then the
// description, the options, `footer` (the examples) and the table of exit statuses.
void describe(CLI::App& app, std::string_view usage, std::string_view footer);

// Parses the arguments. Returns the status to end with when the program must not go on
// (help, version, wrong usage), nothing otherwise.
std::optional<int> parse(CLI::App& app, int argc, char** argv);

// Wrong usage found after parsing: one line naming the problem, then status 2.
[[noreturn]] void usageError(const CLI::App& app, std::string_view message);

// Writes to standard output. When it cannot be written, the program ends: quietly with status
// 0 when the reader has gone (a closed pipe is how `| head` says it has enough), otherwise with
// a message and kWriteError.
void writeOutput(std::string_view text);
// Sends what is buffered on its way, with the same care.
void flushOutput();

}  // namespace pelmora::tools
