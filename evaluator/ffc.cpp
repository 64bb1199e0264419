// Ffc: a name operand, either a bare name or a call with its argument list.
#include <pelmora/failure.h>
#include "evaluator/builtins.h"
#include "evaluator/engine.h"
#include "evaluator/scan.h"
#include "evaluator/symbol_table.h"
#include "evaluator/text.h"

#include <array>
#include <exception>
#include <span>
#include <tuple>

namespace pelmora {

namespace {

constexpr std::u16string_view kUndeclaredArrayMessage =
    u"配列が宣言されていないのに10を越しました。\r\nまたは配列の次元が超えています。";

}  // namespace

Value callProgramFunction(Call& call, bool noArguments, const Symbol* symbol) {
    std::array<Value, std::tuple_size_v<decltype(Call::slots)>> values;
    const std::size_t count = noArguments ? 0 : std::size_t{call.commaCount} + 1;
    for (std::size_t i = 0; i < count; ++i) values[i] = call.arg(static_cast<int>(i));
    const std::span<const Value> arguments(values.data(), count);
    if (symbol) return symbol->call(call.name, arguments);
    try {
        return call.evaluator.host().callFunction(call.name, arguments);
    } catch (const EvalFailure&) {
        throw;
    } catch (const std::exception& e) {
        throw EvalFailure(e.what());  // trapped by Eval as any failure
    }
}

Value undeclaredCall(Call& call) {
    call.arg(0);
    Engine& engine = call.evaluator;
    switch (engine.host().undeclaredCall()) {
        case Host::UndeclaredCall::EndProgram:
            break;
        case Host::UndeclaredCall::Report:
            engine.setUndeclaredName(call.name);
            [[fallthrough]];
        case Host::UndeclaredCall::Fail:
            throw EvalFailure("undeclared name " + toUtf8(call.name));
    }
    engine.host().endProgram(kUndeclaredArrayMessage);
    throw EvalFailure("the program did not end");  // a host that breaks its promise
}

Value Call::arg(int i) {
    if (given) {
        if (i > commaCount) throw EvalFailure("an argument the call does not have");
        return given[i];
    }
    if (compiled) return evaluator.evalNode(*compiled[static_cast<std::size_t>(i)]);
    return evaluator.Eval(slots[static_cast<std::size_t>(i)]);
}

Value Engine::Ffc(std::u16string_view text) {
    if (!reading::isCallText(text)) {
        for (const auto& entry : bareNameTable()) {
            if (entry.matches(text)) {
                Call call{*this, text};
                return entry.function(call);
            }
        }
        // A variable: the program's, the host's, or one never set.
        if (const Symbol* symbol = SymbolsAccess::findVariable(symbols_, text))
            return symbol->read();
        if (std::optional<Value> v = host_.variable(text)) return std::move(*v);
        if (text.ends_with(u'$')) return Value::string(u"");
        return Value::integer(0);
    }

    std::size_t open = text.find(u'(');
    std::u16string name = toUpper(text.substr(0, open));
    Call call{*this, name};
    std::u16string_view arguments = text.substr(open + 1, text.size() - open - 2);
    call.commaCount = reading::splitArgumentText(arguments, call.slots);
    for (const auto& entry : builtinTable()) {
        if (entry.matches(name)) return entry.function(call);
    }
    if (const Symbol* symbol = SymbolsAccess::findFunction(symbols_, name))
        return callProgramFunction(call, arguments.empty(), symbol);
    if (host_.hasFunction(name)) return callProgramFunction(call, arguments.empty(), nullptr);
    // An access to an array that was never declared.
    return undeclaredCall(call);
}

}  // namespace pelmora
