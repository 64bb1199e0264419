// The prompt's line editing on a terminal, through libedit: arrows, Home, End and the history
// of the session. A history file is read and written only when one is given.
#pragma once

#include <optional>
#include <string>

struct editline;
struct history;

namespace pelmora::tools {

class LineEditor {
  public:
    LineEditor(const char* program, std::optional<std::string> historyFile);
    ~LineEditor();
    LineEditor(const LineEditor&) = delete;
    LineEditor& operator=(const LineEditor&) = delete;

    // One line without its line end; nothing at the end of input.
    std::optional<std::string> readLine();

  private:
    editline* editor_;
    history* history_;
    std::optional<std::string> historyFile_;
};

}  // namespace pelmora::tools
