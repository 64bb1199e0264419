#include "evaluator/text.h"

#include <unicode/translit.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/utf16.h>

#include <array>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <utility>
#include <vector>

namespace pelmora {

namespace {

// One code point of UTF-8 from byte i: the code point (U+FFFD for a byte that is not UTF-8)
// and the bytes it took.
std::pair<char32_t, std::size_t> decodeUtf8(std::string_view utf8, std::size_t i) {
    auto byte = [&](std::size_t k) { return static_cast<unsigned char>(utf8[k]); };
    unsigned char b = byte(i);
    std::size_t len = b < 0x80         ? 1
                      : (b >> 5) == 6  ? 2
                      : (b >> 4) == 14 ? 3
                      : (b >> 3) == 30 ? 4
                                       : 0;
    if (len == 1) return {b, 1};
    if (len == 0 || i + len > utf8.size()) return {0xFFFD, 1};
    char32_t cp = b & (0x7F >> len);
    bool ok = true;
    for (std::size_t k = 1; k < len; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) ok = false;
        cp = (cp << 6) | (byte(i + k) & 0x3F);
    }
    constexpr char32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
    if (!ok || cp < kMin[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return {0xFFFD, 1};
    return {cp, len};
}

}  // namespace

std::u16string fromUtf8(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        auto [cp, len] = decodeUtf8(utf8, i);
        i += len;
        if (cp >= 0x10000) {
            out.push_back(static_cast<char16_t>(0xD7C0 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 | (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
    }
    return out;
}

std::size_t utf8Offset(std::string_view utf8, std::size_t units) {
    std::size_t i = 0;
    for (std::size_t seen = 0; i < utf8.size() && seen < units;) {
        auto [cp, len] = decodeUtf8(utf8, i);
        i += len;
        seen += cp >= 0x10000 ? 2 : 1;
    }
    return i;
}

std::string toUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t cp = text[i];
        if (U16_IS_LEAD(cp) && i + 1 < text.size() && U16_IS_TRAIL(text[i + 1])) {
            cp = U16_GET_SUPPLEMENTARY(cp, text[i + 1]);
            ++i;
        } else if (U16_IS_SURROGATE(cp)) {
            cp = 0xFFFD;
        }
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

std::size_t findText(std::u16string_view haystack, std::u16string_view needle, std::size_t from) {
    // A short needle costs at most its length per place: the library's search is linear enough.
    constexpr std::size_t kShortNeedle = 4;
    if (needle.size() <= kShortNeedle) return haystack.find(needle, from);
    // Knuth-Morris-Pratt: border[i] is the length of the longest proper border of needle[0..i].
    std::vector<std::uint32_t> border(needle.size());
    for (std::size_t i = 1, k = 0; i < needle.size(); ++i) {
        while (k > 0 && needle[i] != needle[k]) k = border[k - 1];
        if (needle[i] == needle[k]) ++k;
        border[i] = static_cast<std::uint32_t>(k);
    }
    for (std::size_t i = from, k = 0; i < haystack.size(); ++i) {
        while (k > 0 && haystack[i] != needle[k]) k = border[k - 1];
        if (haystack[i] == needle[k]) ++k;
        if (k == needle.size()) return i + 1 - k;
    }
    return std::u16string_view::npos;
}

namespace {

// A lone surrogate comes out of U16_NEXT as itself, and the case maps leave it so.
template <typename Map>
std::u16string mapCodePoints(std::u16string_view text, Map map) {
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        UChar32 cp;
        U16_NEXT(text.data(), i, text.size(), cp);
        char16_t units[U16_MAX_LENGTH];
        std::size_t length = 0;
        U16_APPEND_UNSAFE(units, length, map(cp));
        out.append(units, length);
    }
    return out;
}

// Only the characters of these sets take part, so the width forms stay exactly the Japanese
// ones: ASCII, the space, the half-width katakana and punctuation, and their counterparts.
constexpr char16_t kToFullWidthRules[] = u"[\\u0020-\\u007E\\uFF61-\\uFF9F]; Halfwidth-Fullwidth";
constexpr char16_t kToHalfWidthRules[] =
    u"[\\u3000\\uFF01-\\uFF5E\\u3001\\u3002\\u300C\\u300D\\u30FB\\u30FC\\u309B\\u309C"
    u"\\u30A1-\\u30ED\\u30EF\\u30F2-\\u30F4\\u30F7\\u30FA]; Fullwidth-Halfwidth";

std::unique_ptr<icu::Transliterator> makeTransliterator(const char16_t* rules) {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::Transliterator> t(
        icu::Transliterator::createInstance(icu::UnicodeString(rules), UTRANS_FORWARD, status));
    if (U_FAILURE(status) || !t) throw std::runtime_error("ICU width transliterator unavailable");
    return t;
}

std::u16string transliterate(const icu::Transliterator& t, std::u16string_view text) {
    icu::UnicodeString s(text.data(), static_cast<int32_t>(text.size()));
    t.transliterate(s);
    return std::u16string(s.getBuffer(), static_cast<std::size_t>(s.length()));
}

}  // namespace

// ASCII maps by itself, as ICU maps it; only other characters ask ICU, which costs far more.
std::u16string toUpper(std::u16string_view text) {
    return mapCodePoints(text, [](UChar32 c) {
        if (c < 0x80) return (c >= u'a' && c <= u'z') ? c - 0x20 : c;
        return u_toupper(c);
    });
}

std::u16string toLower(std::u16string_view text) {
    return mapCodePoints(text, [](UChar32 c) {
        if (c < 0x80) return (c >= u'A' && c <= u'Z') ? c + 0x20 : c;
        return u_tolower(c);
    });
}

// Each thread builds its own transliterators the first time it needs them, so evaluators on
// different threads share no ICU object that works on their texts. ASCII and the space take
// their other form by the fixed offset between the two blocks (ICU's mapping is the same);
// only the katakana and Japanese punctuation go through ICU, which is slow on long texts.

namespace {

constexpr char16_t kWideOffset = 0xFEE0;  // U+0021 to U+FF01

bool asciiHalf(char16_t c) {
    return c >= u'\u0020' && c <= u'\u007E';
}
bool asciiFull(char16_t c) {
    return c == u'\u3000' || (c >= u'\uFF01' && c <= u'\uFF5E');
}

char16_t asciiToFull(char16_t c) {
    return c == u' ' ? u'\u3000' : char16_t(c + kWideOffset);
}
char16_t asciiToHalf(char16_t c) {
    return c == u'\u3000' ? u' ' : char16_t(c - kWideOffset);
}

// Splits the text into runs that convert directly, runs for ICU and runs that stay.
template <typename Classify, typename Direct, typename ThroughIcu>
std::u16string convertRuns(std::u16string_view text, Classify classify, Direct direct,
                           ThroughIcu throughIcu) {
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        int kind = classify(text[i]);
        std::size_t end = i;
        while (end < text.size() && classify(text[end]) == kind) ++end;
        std::u16string_view run = text.substr(i, end - i);
        if (kind == 0) {
            for (char16_t c : run) out.push_back(direct(c));
        } else if (kind == 1) {
            out += throughIcu(run);
        } else {
            out += run;
        }
        i = end;
    }
    return out;
}

}  // namespace

// ICU turns a half-width voiced or semi-voiced mark that joins no letter into the combining
// U+3099 or U+309A; its full-width form is the spacing mark U+309B or U+309C. Only the runs of
// half-width characters go through ICU, so a combining mark already in the text stays.
std::u16string toFullWidth(std::u16string_view text) {
    thread_local const auto t = makeTransliterator(kToFullWidthRules);
    auto classify = [](char16_t c) {
        if (asciiHalf(c)) return 0;
        return (c >= u'\uFF61' && c <= u'\uFF9F') ? 1 : 2;
    };
    // A letter and a following voiced or semi-voiced mark may join, so a letter is converted
    // together with its mark; each distinct piece goes through ICU once per call.
    std::array<std::u16string, 63 * 3> memo;
    auto piece = [&](std::u16string_view p) -> const std::u16string& {
        std::size_t key = (p[0] - u'\uFF61') * 3 + (p.size() == 1 ? 0 : p[1] == u'\uFF9E' ? 1 : 2);
        std::u16string& wide = memo[key];
        if (wide.empty()) {
            wide = transliterate(*t, p);
            for (char16_t& c : wide) {
                if (c == u'\u3099') c = u'\u309B';
                if (c == u'\u309A') c = u'\u309C';
            }
        }
        return wide;
    };
    auto katakana = [&](std::u16string_view run) {
        std::u16string wide;
        for (std::size_t i = 0; i < run.size(); ++i) {
            bool marked =
                i + 1 < run.size() && (run[i + 1] == u'\uFF9E' || run[i + 1] == u'\uFF9F');
            wide += piece(run.substr(i, marked ? 2 : 1));
            if (marked) ++i;
        }
        return wide;
    };
    return convertRuns(text, classify, asciiToFull, katakana);
}

// ICU leaves the spacing voiced and semi-voiced marks alone; their half-width forms are
// U+FF9E and U+FF9F.
std::u16string toHalfWidth(std::u16string_view text) {
    thread_local const auto t = makeTransliterator(kToHalfWidthRules);
    auto classify = [](char16_t c) {
        if (asciiFull(c)) return 0;
        return c >= u'\u3000' && c <= u'\u30FF' ? 1 : 2;
    };
    // Each character converts on its own; each distinct one goes through ICU once per call.
    std::array<std::u16string, 256> memo;
    auto katakana = [&](std::u16string_view run) {
        std::u16string narrow;
        for (char16_t c : run) {
            std::u16string& half = memo[c - u'\u3000'];
            if (half.empty()) {
                half = transliterate(*t, std::u16string_view(&c, 1));
                for (char16_t& h : half) {
                    if (h == u'\u309B') h = u'\uFF9E';
                    if (h == u'\u309C') h = u'\uFF9F';
                }
            }
            narrow += half;
        }
        return narrow;
    };
    return convertRuns(text, classify, asciiToHalf, katakana);
}

}  // namespace pelmora
