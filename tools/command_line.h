// The conventions the command-line programs share: --help and --version print on standard
// output and end with status 0; wrong usage is one line on standard error and status 2.
#pragma once

#include <CLI/CLI.hpp>

#include <optional>
#include <string_view>

namespace pelmora::tools {

inline constexpr int kUsageError = 2;

// Sets the help and version options and the help layout: the usage lines first, then the
// description, the options, and `footer` (the examples and the exit statuses).
void describe(CLI::App& app, std::string_view usage, std::string_view footer);

// Parses the arguments. Returns the status to end with when the program must not go on
// (help, version, wrong usage), nothing otherwise.
std::optional<int> parse(CLI::App& app, int argc, char** argv);

// Wrong usage found after parsing: one line naming the problem, then status 2.
[[noreturn]] void usageError(const CLI::App& app, std::string_view message);

}  // namespace pelmora::tools
