// A strict check of one line of JSON output: exactly one object whose members are strings or
// integers, in valid UTF-8. The members come back as they stand in the text, escapes and all.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace pelmora::testing {

// No overlong forms, no surrogates, nothing past U+10FFFF.
inline bool validUtf8(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        auto b = static_cast<unsigned char>(s[i]);
        std::size_t len = b < 0x80         ? 1
                          : (b >> 5) == 6  ? 2
                          : (b >> 4) == 14 ? 3
                          : (b >> 3) == 30 ? 4
                                           : 0;
        if (len == 0 || i + len > s.size()) return false;
        char32_t cp = len == 1 ? b : b & (0x7F >> len);
        for (std::size_t k = 1; k < len; ++k) {
            auto c = static_cast<unsigned char>(s[i + k]);
            if ((c & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (c & 0x3F);
        }
        constexpr char32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
        if (cp < kMin[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        i += len;
    }
    return true;
}

class JsonLine {
  public:
    explicit JsonLine(std::string_view line) : s_(line) {}

    std::optional<std::map<std::string, std::string>> object() {
        std::map<std::string, std::string> members;
        if (!validUtf8(s_) || !eat('{')) return std::nullopt;
        do {
            auto key = string();
            if (!key || !eat(':')) return std::nullopt;
            auto value = peek() == '"' ? string() : integer();
            if (!value) return std::nullopt;
            members[*key] = *value;
        } while (eat(','));
        if (!eat('}') || at_ != s_.size()) return std::nullopt;
        return members;
    }

  private:
    char peek() {
        while (at_ < s_.size() &&
               std::string_view(" \t\r\n").find(s_[at_]) != std::string_view::npos)
            ++at_;
        return at_ < s_.size() ? s_[at_] : '\0';
    }
    bool eat(char c) { return peek() == c && (++at_, true); }

    // A string as it stands between its quotes, escapes and all.
    std::optional<std::string> string() {
        if (!eat('"')) return std::nullopt;
        const std::size_t begin = at_;
        for (; at_ < s_.size() && s_[at_] != '"'; ++at_) {
            if (static_cast<unsigned char>(s_[at_]) < 0x20) return std::nullopt;
            if (s_[at_] != '\\') continue;
            char e = ++at_ < s_.size() ? s_[at_] : '\0';
            if (e == 'u' &&
                s_.substr(at_ + 1, 4).find_first_not_of("0123456789abcdefABCDEF") ==
                    std::string_view::npos &&
                at_ + 4 < s_.size())
                at_ += 4;
            else if (e == '\0' || std::string_view("\"\\/bfnrt").find(e) == std::string_view::npos)
                return std::nullopt;
        }
        if (at_ == s_.size()) return std::nullopt;
        return std::string(s_.substr(begin, at_++ - begin));
    }

    std::optional<std::string> integer() {
        const std::size_t begin = at_;
        at_ += s_[at_] == '-';
        std::size_t digits = s_.substr(at_).find_first_not_of("0123456789");
        if (digits == std::string_view::npos) digits = s_.size() - at_;
        if (digits == 0 || (digits > 1 && s_[at_] == '0')) return std::nullopt;
        at_ += digits;
        return std::string(s_.substr(begin, at_ - begin));
    }

    std::string_view s_;
    std::size_t at_ = 0;
};

inline std::optional<std::map<std::string, std::string>> jsonObject(std::string_view line) {
    return JsonLine(line).object();
}

}  // namespace pelmora::testing
