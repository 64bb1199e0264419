// The exit statuses of every Pelmora program, one table: each program's --help ends with it,
// and so do the manual pages made from --help. The README shows the same table.
#pragma once

#include <string_view>

namespace pelmora::tools {

inline constexpr int kNoSolution = 1;
inline constexpr int kUsageError = 2;
inline constexpr int kProgramEnded = 3;
inline constexpr int kWriteError = 4;

inline constexpr std::string_view kExitStatuses = R"(Exit status:
  0  done; pelmora-solve: a solution was found (--census: always); pelmora: the window
     was closed, or this session's window was already running
  1  pelmora-solve: no solution
  2  wrong usage
  3  an expression ended the program (it called an undeclared array)
  4  the output could not be written (a reader that closes the pipe early is no error)
)";

}  // namespace pelmora::tools
