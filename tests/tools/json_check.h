// A strict check of one line of JSON output: exactly one object whose members are strings or
// integers, in valid UTF-8. The members come back as they stand in the text, escapes and all.
#pragma once

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace pelmora::testing {

// No overlong forms, no surrogates, nothing past U+10FFFF.
inline bool validUtf8(std::string_view s) {
    for (std::size_t i = 0, len = 0; i < s.size(); i += len) {
        auto b = static_cast<unsigned char>(s[i]);
        len = b < 0x80 ? 1 : b >> 5 == 6 ? 2 : b >> 4 == 14 ? 3 : b >> 3 == 30 ? 4 : 0;
        if (len == 0 || i + len > s.size()) return false;
        char32_t cp = len == 1 ? b : b & (0x7F >> len);
        for (std::size_t k = 1; k < len; ++k) {
            auto c = static_cast<unsigned char>(s[i + k]);
            if ((c & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (c & 0x3F);
        }
        constexpr char32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
        if (cp < kMin[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    }
    return true;
}

inline std::optional<std::map<std::string, std::string>> jsonObject(std::string_view s) {
    constexpr auto npos = std::string_view::npos;
    std::size_t at = 0;
    auto next = [&] {
        at = std::min(s.find_first_not_of(" \t\r\n", at), s.size());
        return at < s.size() ? s[at] : '\0';
    };
    auto eat = [&](char c) { return next() == c && ++at; };
    auto string = [&]() -> std::optional<std::string> {
        if (!eat('"')) return std::nullopt;
        const std::size_t begin = at;
        for (; at < s.size() && s[at] != '"'; ++at) {
            if (static_cast<unsigned char>(s[at]) < 0x20) return std::nullopt;
            if (s[at] != '\\') continue;
            const auto e = s.substr(++at, 5);
            if (e.size() == 5 && e[0] == 'u' &&
                e.find_first_not_of("0123456789abcdefABCDEF", 1) == npos)
                at += 4;
            else if (e.empty() || std::string_view("\"\\/bfnrt").find(e[0]) == npos)
                return std::nullopt;
        }
        if (at == s.size()) return std::nullopt;
        return std::string(s.substr(begin, at++ - begin));
    };
    auto integer = [&]() -> std::optional<std::string> {
        const std::size_t begin = at, digits = at + (at < s.size() && s[at] == '-');
        const std::size_t end = std::min(s.find_first_not_of("0123456789", digits), s.size());
        if (end == digits || (end > digits + 1 && s[digits] == '0')) return std::nullopt;
        return std::string(s.substr(begin, (at = end) - begin));
    };
    std::map<std::string, std::string> members;
    if (!validUtf8(s) || !eat('{')) return std::nullopt;
    do {
        auto key = string();
        auto value = key && eat(':') ? next() == '"' ? string() : integer() : std::nullopt;
        if (!value) return std::nullopt;
        members[*key] = *value;
    } while (eat(','));
    if (!eat('}') || at != s.size()) return std::nullopt;
    return members;
}

}  // namespace pelmora::testing
