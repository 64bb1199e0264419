// Plain arithmetic: the texts Eval can compute directly instead of scanning them.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace pelmora {

// Plain arithmetic: numbers written with digits and at most one ".", the operators "+", "-",
// "*", "/" and "^", and grouping parentheses; no signs, spaces, names or other operators, and
// at most kMaxLength characters. The scan and the slot row give such a text the usual
// priorities, grouping and left-to-right order, so it is computed here directly by recursive
// descent with the same operations on Doubles. Nothing fails before the whole text has
// proved plain, so a failure is the one the slot row would meet, and a text that is not plain
// goes the long way as if this had not been tried.
class PlainArithmetic {
  public:
    // Texts longer than this take the long way.
    static constexpr std::size_t kMaxLength = 64;

    explicit PlainArithmetic(std::u16string_view t) : t_(t), plain_(t.size() <= kMaxLength) {}

    // The value, when the text is plain; nullopt when it is not.
    std::optional<double> run();
    // Why an operation failed, when one did: the call then fails after its reads are counted.
    const char* failure() const { return failure_; }
    // Characters of written decimals, which the slot row reads through nested calls (none when
    // the text is a single number).
    std::size_t decimals() const { return anyOperator_ ? decimals_ : 0; }

  private:
    char16_t peek() const { return i_ < t_.size() ? t_[i_] : u'\0'; }
    std::optional<double> flat();
    double fail(const char* why);
    double checked(double d);
    double sum();
    double product();
    double power();
    double primary();

    std::u16string_view t_;
    std::size_t i_ = 0;
    bool plain_;
    bool anyOperator_ = false;
    std::size_t decimals_ = 0;
    const char* failure_ = nullptr;
};

}  // namespace pelmora
