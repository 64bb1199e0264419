// A strict check of one JSON text (RFC 8259) in valid UTF-8, and the string members of an
// object, for tests of JSON output.
#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace pelmora::testing {

class JsonCheck {
  public:
    // The object's string members (decoded), or nothing when `text` is not exactly one valid
    // JSON object.
    static std::optional<std::map<std::string, std::string>> object(std::string_view text) {
        JsonCheck check(text);
        std::map<std::string, std::string> members;
        check.space();
        if (!check.objectInto(&members)) return std::nullopt;
        check.space();
        if (check.at_ != text.size()) return std::nullopt;
        return members;
    }

  private:
    explicit JsonCheck(std::string_view text) : s_(text) {}

    bool more() const { return at_ < s_.size(); }
    char peek() const { return more() ? s_[at_] : '\0'; }
    bool eat(char c) {
        if (peek() != c) return false;
        ++at_;
        return true;
    }
    void space() {
        while (more() && (peek() == ' ' || peek() == '\t' || peek() == '\n' || peek() == '\r'))
            ++at_;
    }

    bool objectInto(std::map<std::string, std::string>* members) {
        if (!eat('{')) return false;
        space();
        if (eat('}')) return true;
        for (;;) {
            space();
            std::string key, text;
            if (!string(&key)) return false;
            space();
            if (!eat(':')) return false;
            space();
            bool isString = peek() == '"';
            if (!value(isString ? &text : nullptr)) return false;
            if (members && isString) (*members)[key] = text;
            space();
            if (eat('}')) return true;
            if (!eat(',')) return false;
        }
    }

    bool value(std::string* text) {
        char c = peek();
        if (c == '{') return objectInto(nullptr);
        if (c == '[') {
            ++at_;
            space();
            if (eat(']')) return true;
            for (;;) {
                space();
                if (!value(nullptr)) return false;
                space();
                if (eat(']')) return true;
                if (!eat(',')) return false;
            }
        }
        if (c == '"') {
            std::string ignored;
            return string(text ? text : &ignored);
        }
        for (std::string_view word : {"true", "false", "null"})
            if (s_.substr(at_, word.size()) == word) {
                at_ += word.size();
                return true;
            }
        return number();
    }

    bool digits() {
        std::size_t start = at_;
        while (more() && peek() >= '0' && peek() <= '9') ++at_;
        return at_ > start;
    }

    bool number() {
        eat('-');
        if (eat('0')) {
        } else if (!digits()) {
            return false;
        }
        if (eat('.') && !digits()) return false;
        if (peek() == 'e' || peek() == 'E') {
            ++at_;
            if (!eat('+')) eat('-');
            if (!digits()) return false;
        }
        return true;
    }

    static void append(std::string* out, char32_t cp) {
        if (cp < 0x80) {
            out->push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out->push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out->push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out->push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out->push_back(static_cast<char>(0xF0 | (cp >> 18)));
            out->push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            out->push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }

    bool hex4(char32_t* v) {
        *v = 0;
        for (int i = 0; i < 4; ++i) {
            char c = peek();
            int d = c >= '0' && c <= '9'   ? c - '0'
                    : c >= 'a' && c <= 'f' ? c - 'a' + 10
                    : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                           : -1;
            if (d < 0) return false;
            *v = *v * 16 + static_cast<char32_t>(d);
            ++at_;
        }
        return true;
    }

    // One UTF-8 character of a string; false on a malformed sequence.
    bool utf8(std::string* out) {
        auto b = static_cast<unsigned char>(peek());
        std::size_t len = b < 0x80         ? 1
                          : (b >> 5) == 6  ? 2
                          : (b >> 4) == 14 ? 3
                          : (b >> 3) == 30 ? 4
                                           : 0;
        if (len == 0 || at_ + len > s_.size()) return false;
        char32_t cp = len == 1 ? b : b & (0x7F >> len);
        for (std::size_t k = 1; k < len; ++k) {
            auto c = static_cast<unsigned char>(s_[at_ + k]);
            if ((c & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (c & 0x3F);
        }
        constexpr char32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
        if (cp < kMin[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        out->append(s_.substr(at_, len));
        at_ += len;
        return true;
    }

    bool string(std::string* out) {
        if (!eat('"')) return false;
        for (;;) {
            if (!more()) return false;
            char c = peek();
            if (c == '"') {
                ++at_;
                return true;
            }
            if (static_cast<unsigned char>(c) < 0x20) return false;
            if (c != '\\') {
                if (!utf8(out)) return false;
                continue;
            }
            ++at_;
            char e = peek();
            ++at_;
            switch (e) {
                case '"':
                    out->push_back('"');
                    break;
                case '\\':
                    out->push_back('\\');
                    break;
                case '/':
                    out->push_back('/');
                    break;
                case 'b':
                    out->push_back('\b');
                    break;
                case 'f':
                    out->push_back('\f');
                    break;
                case 'n':
                    out->push_back('\n');
                    break;
                case 'r':
                    out->push_back('\r');
                    break;
                case 't':
                    out->push_back('\t');
                    break;
                case 'u': {
                    char32_t cp;
                    if (!hex4(&cp)) return false;
                    // A lone surrogate is valid JSON; it stays as U+FFFD in the decoded text.
                    if (cp >= 0xD800 && cp <= 0xDBFF && s_.substr(at_, 2) == "\\u") {
                        std::size_t back = at_;
                        at_ += 2;
                        char32_t low;
                        if (hex4(&low) && low >= 0xDC00 && low <= 0xDFFF) {
                            append(out, 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00));
                            break;
                        }
                        at_ = back;
                    }
                    append(out, cp >= 0xD800 && cp <= 0xDFFF ? 0xFFFD : cp);
                    break;
                }
                default:
                    return false;
            }
        }
    }

    std::string_view s_;
    std::size_t at_ = 0;
};

}  // namespace pelmora::testing
