#include "tools/line_editor.h"

#include <histedit.h>

#include <clocale>
#include <cstdio>

namespace pelmora::tools {
namespace {

char* prompt(EditLine*) {
    static char text[] = "> ";
    return text;
}

}  // namespace

LineEditor::LineEditor(const char* program, std::optional<std::string> historyFile)
    : historyFile_(std::move(historyFile)) {
    // Multibyte editing needs a UTF-8 character type; numbers and text never go through the
    // locale, so this changes nothing else.
    if (!std::setlocale(LC_CTYPE, "C.UTF-8")) std::setlocale(LC_CTYPE, "");
    history_ = history_init();
    HistEvent event;
    history(history_, &event, H_SETSIZE, 1000);
    history(history_, &event, H_SETUNIQUE, 1);
    if (historyFile_) history(history_, &event, H_LOAD, historyFile_->c_str());
    // No el_source: the prompt reads no settings file.
    editor_ = el_init(program, stdin, stdout, stderr);
    el_set(editor_, EL_EDITOR, "emacs");
    el_set(editor_, EL_SIGNAL, 1);
    el_set(editor_, EL_PROMPT, &prompt);
    el_set(editor_, EL_HIST, history, history_);
}

LineEditor::~LineEditor() {
    el_end(editor_);
    history_end(history_);
}

std::optional<std::string> LineEditor::readLine() {
    int count = 0;
    const char* text = el_gets(editor_, &count);
    if (!text || count <= 0) return std::nullopt;
    std::string line(text, static_cast<std::size_t>(count));
    if (!line.empty() && line.back() == '\n') line.pop_back();
    if (line.find_first_not_of(" \t") != std::string::npos) {
        HistEvent event;
        history(history_, &event, H_ENTER, line.c_str());
        // Saved at once: an evaluation may end the program.
        if (historyFile_) history(history_, &event, H_SAVE, historyFile_->c_str());
    }
    return line;
}

}  // namespace pelmora::tools
