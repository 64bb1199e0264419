// The prompt's line editing on a terminal, through libedit: arrows, Home, End, the history
// of the session, and Tab completing a name from a list. A history file is read and written
// only when one is given.
#pragma once

#include <optional>
#include <string>
#include <vector>

struct editline;
struct history;

namespace pelmora::tools {

class LineEditor {
  public:
    // Tab completes the word before the cursor to one of `names`, whatever its case.
    LineEditor(const char* program, std::optional<std::string> historyFile,
               std::vector<std::string> names = {});
    ~LineEditor();
    LineEditor(const LineEditor&) = delete;
    LineEditor& operator=(const LineEditor&) = delete;

    // One line without its line end; nothing at the end of input.
    std::optional<std::string> readLine();

  private:
    unsigned char complete();

    editline* editor_;
    history* history_;
    std::optional<std::string> historyFile_;
    std::vector<std::string> names_;
};

}  // namespace pelmora::tools
