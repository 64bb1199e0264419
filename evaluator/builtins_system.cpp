#include "evaluator/builtins_system.h"

#include "evaluator/failure.h"

namespace pelmora::builtins {

Value CSRLIN(Call&) { throw EvalFailure("not written yet"); }
Value ERR(Call&) { throw EvalFailure("not written yet"); }
Value COMMAND_S(Call&) { throw EvalFailure("not written yet"); }
Value DATE_S(Call&) { throw EvalFailure("not written yet"); }
Value INKEY_S(Call&) { throw EvalFailure("not written yet"); }
Value TIME_S(Call&) { throw EvalFailure("not written yet"); }
Value ENVIRON_S(Call&) { throw EvalFailure("not written yet"); }
Value EOF_(Call&) { throw EvalFailure("not written yet"); }
Value EVAL(Call&) { throw EvalFailure("not written yet"); }
Value HEX_S(Call&) { throw EvalFailure("not written yet"); }
Value HOUR(Call&) { throw EvalFailure("not written yet"); }
Value IIF(Call&) { throw EvalFailure("not written yet"); }
Value INPUT_S(Call&) { throw EvalFailure("not written yet"); }
Value INP(Call&) { throw EvalFailure("not written yet"); }
Value LOC(Call&) { throw EvalFailure("not written yet"); }
Value LOF(Call&) { throw EvalFailure("not written yet"); }
Value MINUTE(Call&) { throw EvalFailure("not written yet"); }
Value OCT_S(Call&) { throw EvalFailure("not written yet"); }
Value POS(Call&) { throw EvalFailure("not written yet"); }
Value STR_S(Call&) { throw EvalFailure("not written yet"); }
Value SSTR_S(Call&) { throw EvalFailure("not written yet"); }
Value VAL(Call&) { throw EvalFailure("not written yet"); }

}  // namespace pelmora::builtins
