// Ffc: a name operand, either a bare name or a call with its argument list.
#include <pelmora/evaluator.h>
#include <pelmora/failure.h>
#include "evaluator/builtins.h"
#include "evaluator/text.h"

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

}  // namespace

Value Call::arg(int i) {
    return evaluator.Eval(slots[static_cast<std::size_t>(i)]);
}

Value Evaluator::Ffc(std::u16string_view text) {
    if (!isCall(text)) {
        for (const auto& entry : bareNameTable()) {
            if (entry.matches(text)) {
                Call call{*this, text};
                return entry.function(call);
            }
        }
        // A variable, never set.
        if (text.ends_with(u'$')) return Value::string(u"");
        return Value::integer(0);
    }

    std::size_t open = text.find(u'(');
    std::u16string name = toUpper(text.substr(0, open));
    Call call{*this, name};
    splitArguments(text.substr(open + 1, text.size() - open - 2), call);
    for (const auto& entry : builtinTable()) {
        if (entry.matches(name)) return entry.function(call);
    }
    // An access to an array that was never declared.
    call.arg(0);
    host_.endProgram(kUndeclaredArrayMessage);
    throw EvalFailure("the program did not end");  // a host that breaks its promise
}

}  // namespace pelmora
