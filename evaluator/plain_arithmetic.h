// Plain arithmetic: the texts Eval can compute directly instead of scanning them.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace pelmora {

// Plain arithmetic: numbers written with digits and at most one ".", the operators "+", "-",
// "*", "/" and "^", and grouping parentheses; no spaces, names or other operators, and at most
// kMaxLength characters. The scan and the slot row give such a text the usual priorities,
// grouping and left-to-right order, so it is computed here directly by recursive descent with
// the same operations on Doubles. Nothing fails before the whole text has proved plain, so a
// failure is the one the slot row would meet, and a text that is not plain goes the long way
// as if this had not been tried.
//
// Signs are read only in a text as Eval's rewriting leaves it. There a "-" where a number is
// expected belongs to that number alone, as the scan appends it to the operand, and the slot
// row reads the operand through a nested call as 0 minus the number: "2*-3^2" is 2*((0-3)^2).
// A sign before "(" or before another sign takes the long way.
class PlainArithmetic {
  public:
    // Texts longer than this take the long way.
    static constexpr std::size_t kMaxLength = 64;

    // Without signs, the text as Eval receives it; with signs, the rewritten text, read as if it
    // began with "0" when leadingZero is set.
    explicit PlainArithmetic(std::u16string_view t, bool signs = false, bool leadingZero = false)
        : t_(t), plain_(t.size() <= kMaxLength), signs_(signs), leadingZero_(leadingZero) {}

    // The value, when the text is plain; nullopt when it is not.
    std::optional<double> run();
    // Why an operation failed, when one did: the call then fails after its reads are counted.
    const char* failure() const { return failure_; }
    // Characters the slot row reads through nested calls: written decimals, and signed numbers
    // (a signed decimal twice, once more for its own nested read); none when the text is a
    // single number.
    std::size_t nestedReads() const { return anyOperator_ ? nestedReads_ : 0; }

  private:
    char16_t peek() const { return i_ < t_.size() ? t_[i_] : u'\0'; }
    std::optional<double> flat();
    double fail(const char* why);
    double checked(double d);
    template <bool LeadingZero>
    double sum();
    double product();
    double power();
    double primary();
    double signedNumber();
    double number(bool& decimal);

    std::u16string_view t_;
    std::size_t i_ = 0;
    bool plain_;
    bool signs_;
    bool leadingZero_;
    bool signRead_ = false;
    bool anyOperator_ = false;
    std::size_t nestedReads_ = 0;
    const char* failure_ = nullptr;
};

}  // namespace pelmora
