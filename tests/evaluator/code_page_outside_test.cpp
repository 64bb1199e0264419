// What JIS$ gives for characters outside the code page, as the README states: iconv maps some
// one way onto a look-alike, and only a character with no mapping at all gives 3F.
#include "fake_host.h"

#include <gtest/gtest.h>

namespace pelmora::testing {
namespace {

TEST(CodePageOutside, OneWayMappingsGiveTheLookAlikesCode) {
    checkRows({
        {R"(JIS$("¥"))", "String: 5C"},
        {R"(JIS$("〜"))", "String: 8160"},  // U+301C
        {R"(JIS$("−"))", "String: 817C"},   // U+2212
        {R"(KNJ$(JIS$("〜")))", "String: ～"},
        {R"(KNJ$(JIS$("−")))", "String: －"},
        {R"(JIS$("€"))", "String: 3F"},
        {R"(JIS$("😀"))", "String: 3F"},
    });
}

}  // namespace
}  // namespace pelmora::testing
