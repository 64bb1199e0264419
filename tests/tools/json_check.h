// A strict check of one line of JSON output: exactly one object whose members are strings or
// integers, in valid UTF-8. The members come back as they stand in the text, escapes and all.
#pragma once

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace pelmora::testing {

// No overlong forms, no surrogates, nothing past U+10FFFF: what iconv takes as UTF-8.
inline bool validUtf8(std::string_view s) {
    iconv_t utf8 = iconv_open("UTF-32LE", "UTF-8");
    char* from = const_cast<char*>(s.data());  // iconv only reads it
    std::size_t left = s.size(), converted = 0;
    do {  // into a small buffer, again and again: the lines checked can be long
        char buffer[4096], *to = buffer;
        std::size_t room = sizeof buffer;
        converted = iconv(utf8, &from, &left, &to, &room);
    } while (converted == static_cast<std::size_t>(-1) && errno == E2BIG);
    iconv_close(utf8);
    return converted != static_cast<std::size_t>(-1);
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
