// A strict check of one JSON text (RFC 8259) in valid UTF-8, and the string members of an
// object, for tests of JSON output.
#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <regex>
#include <string>
#include <string_view>

namespace pelmora::testing {

class JsonCheck {
  public:
    // The object's string members (decoded), or nothing when `text` is not exactly one valid
    // JSON object in valid UTF-8.
    static std::optional<std::map<std::string, std::string>> object(std::string_view text) {
        JsonCheck check(text);
        std::map<std::string, std::string> members;
        if (!validUtf8(text) || check.space().peek() != '{' || !check.value(nullptr, &members) ||
            check.space().more())
            return std::nullopt;
        return members;
    }

  private:
    explicit JsonCheck(std::string_view text) : s_(text) {}

    // No overlong forms, no surrogates, nothing past U+10FFFF.
    static bool validUtf8(std::string_view s) {
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

    bool more() const { return at_ < s_.size(); }
    char peek() const { return more() ? s_[at_] : '\0'; }
    bool eat(char c) { return peek() == c ? (++at_, true) : false; }
    JsonCheck& space() {
        while (more() && std::string_view(" \t\r\n").find(peek()) != std::string_view::npos) ++at_;
        return *this;
    }

    // A value; a string's decoded text goes to `text`, an object's string members to `members`.
    bool value(std::string* text, std::map<std::string, std::string>* members) {
        space();
        if (eat('{') || eat('[')) {
            bool object = s_[at_ - 1] == '{';
            if (space().eat(object ? '}' : ']')) return true;
            do {
                std::string key, member;
                if (object && !(space().peek() == '"' && string(&key) && space().eat(':')))
                    return false;
                bool isString = space().peek() == '"';
                if (!value(&member, nullptr)) return false;
                if (object && members && isString) (*members)[key] = member;
            } while (space().eat(','));
            return eat(object ? '}' : ']');
        }
        if (peek() == '"') return string(text);
        std::cmatch m;
        static const std::regex literal(
            R"(true|false|null|-?(0|[1-9][0-9]*)(\.[0-9]+)?([eE][+-]?[0-9]+)?)");
        if (!std::regex_search(s_.data() + at_, s_.data() + s_.size(), m, literal,
                               std::regex_constants::match_continuous))
            return false;
        at_ += static_cast<std::size_t>(m.length());
        return true;
    }

    static void append(std::string* out, char32_t cp) {
        int n = cp < 0x80 ? 1 : cp < 0x800 ? 2 : cp < 0x10000 ? 3 : 4;
        constexpr unsigned char kLead[] = {0, 0, 0xC0, 0xE0, 0xF0};
        for (int k = 0; k < n; ++k) {
            char32_t part = (cp >> (6 * (n - 1 - k))) & (k == 0 ? 0x7F : 0x3F);
            out->push_back(static_cast<char>(k == 0 ? kLead[n] | part : 0x80 | part));
        }
    }

    bool hex4(char32_t* v) {
        if (at_ + 4 > s_.size()) return false;
        std::string digits(s_.substr(at_, 4));
        if (digits.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) return false;
        *v = static_cast<char32_t>(std::stoul(digits, nullptr, 16));
        at_ += 4;
        return true;
    }

    bool string(std::string* out) {
        std::string ignored;
        if (!out) out = &ignored;
        ++at_;  // the opening quote
        for (;;) {
            char c = peek();
            if (!more() || static_cast<unsigned char>(c) < 0x20) return false;
            ++at_;
            if (c == '"') return true;
            if (c != '\\') {
                out->push_back(c);
                continue;
            }
            char e = peek();
            ++at_;
            static constexpr std::string_view kFrom = "\"\\/bfnrt", kTo = "\"\\/\b\f\n\r\t";
            if (std::size_t k = kFrom.find(e); k != std::string_view::npos) {
                out->push_back(kTo[k]);
                continue;
            }
            char32_t cp, low;
            if (e != 'u' || !hex4(&cp)) return false;
            // A lone surrogate is valid JSON; it stays as U+FFFD in the decoded text.
            std::size_t back = at_;
            if (cp >= 0xD800 && cp <= 0xDBFF && s_.substr(at_, 2) == "\\u" &&
                (at_ += 2, hex4(&low)) && low >= 0xDC00 && low <= 0xDFFF) {
                append(out, 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00));
                continue;
            }
            at_ = back;
            append(out, cp >= 0xD800 && cp <= 0xDFFF ? 0xFFFD : cp);
        }
    }

    std::string_view s_;
    std::size_t at_ = 0;
};

}  // namespace pelmora::testing
