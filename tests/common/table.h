// The one reader of the test tables, tests/<area>/cases/<name>.tsv, for every test binary. Each
// binary names its own cases folder as PELMORA_CASES_DIR.
//
// A row is one line, its cells split at tabs (an empty cell stays); blank lines and lines that
// start with '#' are notes. In a cell \t, \n, \r and \\ stand for the tab, line feed, carriage
// return and backslash, \uXXXX for that UTF-16 unit, and {piece*N} for the piece N times.
// Cells are UTF-8.
//
// The steps of a game, in the tables and the test benches alike, use one alphabet:
//   S Start, O OK, N Next, X Stop, C Close, F the formula button, clicked; D a double-click on OK
//   t one tick of the timer; T a tick every second up to the reading
//   E Enter, K the keypad's Enter, _ Space, R a held (repeating) Space, Q Escape, < Backspace
//   G the focus into the target box; ~ a pause longer than a double-click, ' half of one
//   + - * / x and their full-width forms: the keys of the signs; {...} what an input method commits
// and the checks of a game's rows: c the seconds left shown in red or not, o the operators
// chosen, W a text typed into a box, w a control's text, m the count of messages shown, f the
// control holding (or asked to hold) the focus, p a control taking the focus, e the end of the
// program.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#ifndef PELMORA_CASES_DIR
#error "the test binary must define PELMORA_CASES_DIR, its folder of tables"
#endif

namespace pelmora::testing {

using Row = std::vector<std::string>;

namespace detail {

// One UTF-16 unit as UTF-8; a lone surrogate becomes U+FFFD, as toUtf8 writes it.
inline void appendUtf8(std::string& out, char32_t c) {
    if (c >= 0xD800 && c <= 0xDFFF) c = 0xFFFD;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// "{piece*N}" becomes the piece N times; any other brace stays as it is.
inline std::string expandRepeats(std::string line) {
    for (std::size_t open = line.find('{'); open != std::string::npos;
         open = line.find('{', open + 1)) {
        const auto close = line.find('}', open);
        if (close == std::string::npos) break;
        const auto star = line.rfind('*', close);
        if (star == std::string::npos || star < open || star + 1 == close ||
            line.find_first_not_of("0123456789", star + 1) != close)
            continue;
        std::string pieces;
        for (auto n = std::stoul(line.substr(star + 1, close - star - 1)); n > 0; --n)
            pieces.append(line, open + 1, star - open - 1);
        line.replace(open, close + 1 - open, pieces);
    }
    return line;
}

inline Row cells(const std::string& line) {
    Row row(1);
    for (std::size_t i = 0; i < line.size(); ++i) {
        std::string& cell = row.back();
        if (line[i] == '\t') {
            row.emplace_back();
        } else if (line[i] != '\\' || i + 1 == line.size()) {
            cell += line[i];
        } else if (line[++i] == 'u') {
            appendUtf8(cell, static_cast<char32_t>(std::stoul(line.substr(i + 1, 4), nullptr, 16)));
            i += 4;
        } else {
            const auto at = std::string_view("tnr").find(line[i]);
            cell += at == std::string_view::npos ? line[i] : "\t\n\r"[at];
        }
    }
    return row;
}

}  // namespace detail

// The rows of cases/<name>.tsv.
inline std::vector<Row> table(const std::string& name) {
    std::ifstream in(PELMORA_CASES_DIR "/" + name + ".tsv");
    EXPECT_TRUE(in) << "no table " << name;
    std::vector<Row> rows;
    for (std::string line; std::getline(in, line);)
        if (!line.empty() && line[0] != '#')
            rows.push_back(detail::cells(detail::expandRepeats(line)));
    EXPECT_FALSE(rows.empty()) << "an empty table " << name;
    return rows;
}

}  // namespace pelmora::testing
