// Ffc: a name operand, either a bare name or a call with its argument list.
#include "evaluator/engine.h"
#include <pelmora/failure.h>
#include "evaluator/builtins.h"
#include "evaluator/text.h"

#include <array>
#include <exception>
#include <span>
#include <tuple>

namespace pelmora {

namespace {

constexpr std::u16string_view kUndeclaredArrayMessage =
    u"配列が宣言されていないのに10を越しました。\r\nまたは配列の次元が超えています。";

// A call matches "*(*)": it ends with ")" and has a "(" before that.
bool isCall(std::u16string_view text) {
    return !text.empty() && text.back() == u')' && text.find(u'(') < text.size() - 1;
}

// Splits an argument text at its top-level commas; quotes get no special treatment.
void splitArguments(std::u16string_view args, Call& call) {
    int depth = 0;
    std::size_t split = 0;
    for (std::size_t i = 0; i < args.size(); ++i) {
        char16_t c = args[i];
        if (c == u'(') {
            ++depth;
        } else if (c == u')') {
            --depth;
        } else if (c == u',' && depth == 0) {
            if (call.commaCount >= call.slots.size() - 1)
                throw EvalFailure("more than eight arguments");
            call.slots[call.commaCount] = args.substr(split, i - split);
            ++call.commaCount;
            split = i + 1;
        }
    }
    call.slots[call.commaCount] = args.substr(split);
}

// A function of the host's, with its arguments evaluated in order ("F()" has none).
Value callHostFunction(Host& host, Call& call, bool noArguments) {
    std::array<Value, std::tuple_size_v<decltype(Call::slots)>> values;
    const std::size_t count = noArguments ? 0 : std::size_t{call.commaCount} + 1;
    for (std::size_t i = 0; i < count; ++i) values[i] = call.arg(static_cast<int>(i));
    try {
        return host.callFunction(call.name, std::span<const Value>(values.data(), count));
    } catch (const EvalFailure&) {
        throw;
    } catch (const std::exception& e) {
        throw EvalFailure(e.what());  // trapped by Eval as any failure
    }
}

}  // namespace

Value Call::arg(int i) {
    return evaluator.Eval(slots[static_cast<std::size_t>(i)]);
}

Value Engine::Ffc(std::u16string_view text) {
    if (!isCall(text)) {
        for (const auto& entry : bareNameTable()) {
            if (entry.matches(text)) {
                Call call{*this, text};
                return entry.function(call);
            }
        }
        // A variable: the host's, or one never set.
        if (std::optional<Value> v = host_.variable(text)) return std::move(*v);
        if (text.ends_with(u'$')) return Value::string(u"");
        return Value::integer(0);
    }

    std::size_t open = text.find(u'(');
    std::u16string name = toUpper(text.substr(0, open));
    Call call{*this, name};
    std::u16string_view arguments = text.substr(open + 1, text.size() - open - 2);
    splitArguments(arguments, call);
    for (const auto& entry : builtinTable()) {
        if (entry.matches(name)) return entry.function(call);
    }
    if (host_.hasFunction(name)) return callHostFunction(host_, call, arguments.empty());

    // An access to an array that was never declared.
    call.arg(0);
    switch (host_.undeclaredCall()) {
        case Host::UndeclaredCall::EndProgram:
            break;
        case Host::UndeclaredCall::Report:
            undeclaredName_ = name;
            [[fallthrough]];
        case Host::UndeclaredCall::Fail:
            throw EvalFailure("undeclared name " + toUtf8(name));
    }
    host_.endProgram(kUndeclaredArrayMessage);
    throw EvalFailure("the program did not end");  // a host that breaks its promise
}

}  // namespace pelmora
