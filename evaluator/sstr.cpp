// SStr: any value as text, under a trap of its own.
#include "evaluator/engine.h"
#include <pelmora/failure.h>
#include "evaluator/conversions.h"

namespace pelmora {

std::u16string Engine::SStr(const Value& value) {
    try {
        if (value.isString()) return value.asString().units;
        return value.is(Kind::Date) ? plainText(value) : numberText(value);
    } catch (const EvalFailure&) {
        EvalErrorCode = 10;
        return u"";
    }
}

}  // namespace pelmora
