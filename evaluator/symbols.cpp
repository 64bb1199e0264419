// Symbols: the program's declared names.
#include <pelmora/conversions.h>
#include <pelmora/failure.h>
#include "evaluator/builtins.h"
#include "evaluator/symbol_table.h"
#include "evaluator/text.h"

#include <stdexcept>
#include <string>

namespace pelmora {

namespace {

bool isNameLetter(char16_t c) {
    return (c >= u'A' && c <= u'Z');
}

// The upper-cased name, when the scan reads the text as one name that no built-in takes: a
// letter, then letters and digits, maybe ending in a type character.
std::u16string checkedName(std::u16string_view text) {
    std::u16string name = toUpper(text);
    bool valid = !name.empty() && isNameLetter(name[0]);
    for (std::size_t i = 1; valid && i < name.size(); ++i) {
        const char16_t c = name[i];
        const bool last = i + 1 == name.size();
        valid = isNameLetter(c) || (c >= u'0' && c <= u'9') ||
                (last && std::u16string_view(u"#$%&!@").find(c) != std::u16string_view::npos);
    }
    if (!valid) throw std::invalid_argument("not a name: " + toUtf8(text));
    for (std::span<const BuiltinEntry> table : {builtinTable(), bareNameTable()})
        for (const BuiltinEntry& entry : table)
            if (entry.matches(name))
                throw std::invalid_argument("a built-in's name: " + toUtf8(name));
    return name;
}

}  // namespace

Value Symbol::call(std::u16string_view name, std::span<const Value> arguments) const {
    if (arguments.size() < fewest || arguments.size() > most) {
        std::string expected = std::to_string(fewest);
        if (most != fewest) expected += " to " + std::to_string(most);
        throw EvalFailure(toUtf8(name) + " takes " + expected + " argument" +
                          (most == 1 && fewest == 1 ? "" : "s") + ", not " +
                          std::to_string(arguments.size()));
    }
    try {
        return function(arguments);
    } catch (const EvalFailure&) {
        throw;
    } catch (const std::exception& e) {
        throw EvalFailure(e.what());  // trapped by Eval as any failure
    }
}

Symbols::Symbols() : d_(std::make_unique<Table>()) {}
Symbols::~Symbols() = default;
Symbols::Symbols(Symbols&&) noexcept = default;
Symbols& Symbols::operator=(Symbols&&) noexcept = default;

void Symbols::defineVariable(std::u16string_view name, const double* storage) {
    Symbol symbol(Symbol::Kind::Double);
    symbol.number = storage;
    d_->names.insert_or_assign(checkedName(name), std::move(symbol));
}

void Symbols::defineVariable(std::u16string_view name, const Value* storage) {
    Symbol symbol(Symbol::Kind::Value);
    symbol.value = storage;
    d_->names.insert_or_assign(checkedName(name), std::move(symbol));
}

void Symbols::defineConstant(std::u16string_view name, Value value) {
    Symbol symbol(Symbol::Kind::Constant);
    symbol.constant = std::move(value);
    d_->names.insert_or_assign(checkedName(name), std::move(symbol));
}

void Symbols::defineFunction(std::u16string_view name, std::size_t arguments, Function function) {
    defineFunction(name, arguments, arguments, std::move(function));
}

void Symbols::defineFunction(std::u16string_view name, std::size_t fewest, std::size_t most,
                             Function function) {
    if (fewest > most || most > 8)
        throw std::invalid_argument("a function takes from 0 to 8 arguments");
    if (!function) throw std::invalid_argument("no function given");
    Symbol symbol(Symbol::Kind::Function);
    symbol.function = std::move(function);
    symbol.fewest = fewest;
    symbol.most = most;
    d_->names.insert_or_assign(checkedName(name), std::move(symbol));
}

void Symbols::defineVariable(std::string_view name, const double* storage) {
    defineVariable(fromUtf8(name), storage);
}
void Symbols::defineVariable(std::string_view name, const Value* storage) {
    defineVariable(fromUtf8(name), storage);
}
void Symbols::defineConstant(std::string_view name, Value value) {
    defineConstant(fromUtf8(name), std::move(value));
}
void Symbols::defineFunction(std::string_view name, std::size_t arguments, Function function) {
    defineFunction(fromUtf8(name), arguments, std::move(function));
}
void Symbols::defineFunction(std::string_view name, std::size_t fewest, std::size_t most,
                             Function function) {
    defineFunction(fromUtf8(name), fewest, most, std::move(function));
}

bool Symbols::contains(std::u16string_view name) const {
    return d_->names.find(toUpper(name)) != d_->names.end();
}

}  // namespace pelmora
