#include "tools/line_editor.h"

#include <histedit.h>

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <string_view>

namespace pelmora::tools {
namespace {

char* prompt(EditLine*) {
    static char text[] = "> ";
    return text;
}

bool isNameCharacter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '$';
}

std::string upper(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

}  // namespace

LineEditor::LineEditor(const char* program, std::optional<std::string> historyFile,
                       std::vector<std::string> names)
    : historyFile_(std::move(historyFile)), names_(std::move(names)) {
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
    el_set(editor_, EL_CLIENTDATA, this);
    // The wide form keeps the names as given; the narrow one copies them and never frees
    // the copies.
    el_wset(
        editor_, EL_ADDFN, L"pelmora-complete", L"Complete a built-in name",
        +[](EditLine* editor, int) -> unsigned char {
            void* self = nullptr;
            el_get(editor, EL_CLIENTDATA, &self);
            return static_cast<LineEditor*>(self)->complete();
        });
    el_set(editor_, EL_BIND, "^I", "pelmora-complete", nullptr);
}

// The word before the cursor becomes the one name it begins, in the name's spelling; with
// several, it grows to what they share, and when it cannot grow they are listed.
unsigned char LineEditor::complete() {
    const LineInfo* line = el_line(editor_);
    const char* start = line->cursor;
    while (start > line->buffer && isNameCharacter(start[-1])) --start;
    std::string word =
        upper(std::string_view(start, static_cast<std::size_t>(line->cursor - start)));
    if (word.empty()) return CC_ERROR;
    std::vector<std::string_view> matches;
    for (const auto& name : names_)
        if (name.starts_with(word)) matches.push_back(name);
    if (matches.empty()) return CC_ERROR;
    std::string_view shared = matches.front();
    for (auto m : matches) {
        std::size_t n = 0;
        while (n < shared.size() && n < m.size() && shared[n] == m[n]) ++n;
        shared = shared.substr(0, n);
    }
    if (shared.size() > word.size() || matches.size() == 1) {
        el_deletestr(editor_, static_cast<int>(word.size()));
        el_insertstr(editor_, std::string(shared).c_str());
        return CC_REFRESH;
    }
    std::string listing = "\n";
    for (auto m : matches) listing += std::string(m) + "  ";
    listing += "\n";
    std::fwrite(listing.data(), 1, listing.size(), stdout);
    return CC_REDISPLAY;
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
