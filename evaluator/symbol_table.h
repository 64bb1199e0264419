// What a Symbols object holds, for Ffc and the compiled expressions.
#pragma once

#include <pelmora/symbols.h>

#include <cstddef>
#include <functional>
#include <map>
#include <string>
#include <string_view>

namespace pelmora {

// One declared name.
struct Symbol {
    enum class Kind { Double, Value, Constant, Function };
    explicit Symbol(Kind k) : kind(k) {}
    Kind kind;
    const double* number = nullptr;
    const Value* value = nullptr;
    Value constant;
    Symbols::Function function;
    std::size_t fewest = 0;
    std::size_t most = 0;

    // A variable's or constant's value now.
    Value read() const {
        switch (kind) {
            case Kind::Double:
                return Value::number(*number);
            case Kind::Value:
                return *value;
            default:
                return constant;
        }
    }
    // Calls a function with its evaluated arguments; fails on a count out of its range.
    Value call(std::u16string_view name, std::span<const Value> arguments) const;
};

struct Symbols::Table {
    // Upper-cased names; a map keeps each Symbol where it is as names are added.
    std::map<std::u16string, Symbol, std::less<>> names;
};

struct SymbolsAccess {
    // The declaration of an upper-cased name, or nullptr.
    static const Symbol* find(const Symbols* symbols, std::u16string_view name) {
        if (symbols == nullptr) return nullptr;
        auto it = symbols->d_->names.find(name);
        return it == symbols->d_->names.end() ? nullptr : &it->second;
    }
    static const Symbol* findVariable(const Symbols* symbols, std::u16string_view name) {
        const Symbol* s = find(symbols, name);
        return s && s->kind != Symbol::Kind::Function ? s : nullptr;
    }
    static const Symbol* findFunction(const Symbols* symbols, std::u16string_view name) {
        const Symbol* s = find(symbols, name);
        return s && s->kind == Symbol::Kind::Function ? s : nullptr;
    }
};

}  // namespace pelmora
