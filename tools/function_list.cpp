#include "tools/function_list.h"

#include <pelmora/builtin_names.h>
#include <pelmora/conversions.h>

#include <algorithm>
#include <array>

namespace pelmora::tools {
namespace {

constexpr std::array<std::string_view, 3> kFamilyHeadings{"Numeric functions", "String functions",
                                                          "System functions"};
constexpr std::string_view kBareHeading = "Names without an argument list";

// The range entry stands for every LOG name up to its own; the list writes it LOGn.
std::string displayName(const BuiltinName& entry) {
    return entry.rangeAbove.empty() ? toUtf8(entry.name) : toUtf8(entry.rangeAbove) + "n";
}

std::string padded(std::string text, std::size_t width) {
    text.resize(std::max(width, text.size() + 2), ' ');
    return text;
}

std::string row(const BuiltinName& entry) {
    std::string slots = entry.slots.empty() ? "-" : std::string(entry.slots);
    return "  " + padded(displayName(entry), 10) + padded(slots, 24) + std::string(entry.result) +
           "\n";
}

std::string upper(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

// The reference's row of an entry: the table line that starts with the name in backticks.
std::string referenceRow(std::string_view reference, const std::string& name) {
    // Other tables name built-ins too, but not in their first column.
    std::string key = "\n| `" + name + "` |";
    auto at = reference.find(key);
    if (at == std::string_view::npos) return {};
    ++at;
    auto end = reference.find('\n', at);
    return std::string(reference.substr(at, end == std::string_view::npos ? end : end - at));
}

// Cells of a table row, without the outer bars and the spaces around each.
std::vector<std::string> cells(const std::string& line) {
    std::vector<std::string> out;
    std::size_t start = 1;
    while (start < line.size()) {
        auto bar = line.find(" | ", start);
        std::string cell =
            line.substr(start, bar == std::string::npos ? std::string::npos : bar - start);
        while (!cell.empty() && (cell.front() == ' ')) cell.erase(0, 1);
        while (!cell.empty() && (cell.back() == ' ' || cell.back() == '|')) cell.pop_back();
        out.push_back(cell);
        if (bar == std::string::npos) break;
        start = bar + 2;
    }
    return out;
}

std::string unquoted(std::string cell) {
    if (cell.size() >= 2 && cell.front() == '`' && cell.back() == '`')
        return cell.substr(1, cell.size() - 2);
    return cell;
}

}  // namespace

std::string functionList() {
    std::string out;
    for (std::size_t f = 0; f < kFamilyHeadings.size(); ++f) {
        out += std::string(kFamilyHeadings[f]) + "\n";
        for (const auto& entry : builtinFunctionNames())
            if (static_cast<std::size_t>(entry.family) == f) out += row(entry);
    }
    out += std::string(kBareHeading) + "\n";
    for (const auto& entry : bareBuiltinNames()) out += row(entry);
    return out;
}

std::vector<std::string> completionNames() {
    std::vector<std::string> names;
    auto add = [&](std::string name) {
        if (std::find(names.begin(), names.end(), name) == names.end())
            names.push_back(std::move(name));
    };
    for (const auto& entry : builtinFunctionNames())
        add(entry.rangeAbove.empty() ? toUtf8(entry.name) : toUtf8(entry.rangeAbove) + "10");
    for (const auto& entry : bareBuiltinNames()) add(toUtf8(entry.name));
    return names;
}

std::optional<std::string> functionHelp(std::string_view name, std::string_view reference) {
    std::u16string wanted = fromUtf8(upper(name));
    // RND is both a function and a bare name; its function entry comes first.
    auto entries = builtinFunctionNames();
    for (const auto& entry : bareBuiltinNames()) entries.push_back(entry);
    auto found = std::find_if(entries.begin(), entries.end(),
                              [&](const BuiltinName& entry) { return entry.matches(wanted); });
    if (found == entries.end()) return std::nullopt;
    std::string shown = displayName(*found);
    std::string out = shown;
    if (!found->slots.empty()) out += "(" + std::string(found->slots) + ")";
    out += " -> " + std::string(found->result) + "\n";
    // Name | Slots | Result | Meaning | Example | Its result
    auto row = cells(referenceRow(reference, shown));
    if (row.size() >= 6) {
        out += "  " + row[3] + "\n";
        out += "  Example: " + unquoted(row[4]) + "  gives  " + unquoted(row[5]) + "\n";
    }
    return out;
}

}  // namespace pelmora::tools
