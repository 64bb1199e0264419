/// @file
/// @brief Symbols, the names a program declares once: variables bound to its storage,
/// constants and functions.
#pragma once

#include <pelmora/export.h>
#include <pelmora/value.h>

#include <cstddef>
#include <functional>
#include <memory>
#include <span>
#include <string_view>

namespace pelmora {

/// The names a program declares for its expressions, looked up after the built-ins and before
/// the Host's names. Names are case-insensitive, as every name in an expression: "x" and "X"
/// are one name. A name declared again replaces the earlier declaration.
///
/// A variable is bound to the program's own storage, which an evaluation reads each time it
/// meets the name: change the variable and evaluate again. A bound `double` reads as a Double.
///
/// Give the Symbols to Evaluator::setSymbols, to Expression, or to both. An Expression resolves
/// its names once, when it is compiled; declare every name before compiling. The Symbols, and
/// the storage they are bound to, must outlive their use. Declaring is not safe while another
/// thread evaluates with the same Symbols; evaluating from several threads at once is.
class PELMORA_API Symbols {
  public:
    /// A function of the program: its arguments, evaluated from left to right. A failure
    /// thrown as EvalFailure, or any std::exception, fails the innermost evaluation (code 2)
    /// with its message.
    using Function = std::function<Value(std::span<const Value> arguments)>;

    Symbols();                    ///< No names.
    ~Symbols();                   ///< Expressions compiled with these names must be gone by now.
    Symbols(Symbols&&) noexcept;  ///< Takes the names (compiled expressions follow).
    Symbols& operator=(Symbols&&) noexcept;  ///< Takes the names.
    Symbols(const Symbols&) = delete;
    Symbols& operator=(const Symbols&) = delete;

    /// Binds a variable to a `double` of the program, read as a Double at each evaluation.
    /// Throws std::invalid_argument when the text cannot be a name of the language or is a
    /// built-in's name, as every define below does.
    void defineVariable(std::u16string_view name, const double* storage);
    /// Binds a variable to a Value of the program.
    void defineVariable(std::u16string_view name, const Value* storage);
    /// Declares a constant.
    void defineConstant(std::u16string_view name, Value value);
    /// Declares a function taking exactly `arguments` arguments ("F()" has none).
    void defineFunction(std::u16string_view name, std::size_t arguments, Function function);
    /// Declares a function taking from `fewest` to `most` arguments (at most eight).
    void defineFunction(std::u16string_view name, std::size_t fewest, std::size_t most,
                        Function function);

    /// @name The same, with the name in UTF-8
    /// @{
    void defineVariable(std::string_view name, const double* storage);  ///< UTF-8 name
    void defineVariable(std::string_view name, const Value* storage);   ///< UTF-8 name
    void defineConstant(std::string_view name, Value value);            ///< UTF-8 name
    /// UTF-8 name, exactly `arguments` arguments.
    void defineFunction(std::string_view name, std::size_t arguments, Function function);
    /// UTF-8 name, from `fewest` to `most` arguments.
    void defineFunction(std::string_view name, std::size_t fewest, std::size_t most,
                        Function function);
    /// @}

    /// Whether the name is declared.
    bool contains(std::u16string_view name) const;

    /// The declarations; only the library reads them.
    struct Table;

  private:
    friend struct SymbolsAccess;
    std::unique_ptr<Table> d_;
};

}  // namespace pelmora
