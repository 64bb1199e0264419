// The built-in table as the command line shows it: the list of --list-functions, the names the
// prompt completes, and the entry that `help NAME` prints.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pelmora::tools {

// Every built-in, grouped by family, one a line: name, slots and result kind in columns.
std::string functionList();

// Every name a call or a bare name may use, in table order, each once; the logarithm range
// is offered as LOG10.
std::vector<std::string> completionNames();

// The entry of NAME (any case): its call form, result kind, meaning and example, from the
// language reference. Nothing for a name that is no built-in.
std::optional<std::string> functionHelp(std::string_view name, std::string_view reference);

}  // namespace pelmora::tools
