// The game's four operators: what the operator boxes show and what the evaluator is given.
#pragma once

#include <array>
#include <string_view>

namespace pelmora::game {

struct Operator {
    std::u16string_view symbol;  // full-width, as the boxes and the example answer show it
    char16_t sign;               // the evaluator's
};

// In the boxes' order.
inline constexpr std::array<Operator, 4> kOperators{
    {{u"＋", u'+'}, {u"－", u'-'}, {u"×", u'*'}, {u"÷", u'/'}}};

// The order in which the solution search tries them, an index into kOperators each: it decides
// which solution is the example answer, and the order of the list of every solution.
inline constexpr std::array<int, 4> kSearchOrder{0, 1, 3, 2};

}  // namespace pelmora::game
