#include "evaluator/builtins_string.h"

#include "evaluator/failure.h"

namespace pelmora::builtins {

Value AKCNV_S(Call&) { throw EvalFailure("not written yet"); }
Value ASC(Call&) { throw EvalFailure("not written yet"); }
Value CHR_S(Call&) { throw EvalFailure("not written yet"); }
Value INSTR(Call&) { throw EvalFailure("not written yet"); }
Value JIS_S(Call&) { throw EvalFailure("not written yet"); }
Value KACNV_S(Call&) { throw EvalFailure("not written yet"); }
Value KINSTR(Call&) { throw EvalFailure("not written yet"); }
Value KLEN(Call&) { throw EvalFailure("not written yet"); }
Value KMID_S(Call&) { throw EvalFailure("not written yet"); }
Value KNJ_S(Call&) { throw EvalFailure("not written yet"); }
Value LCASE_S(Call&) { throw EvalFailure("not written yet"); }
Value LEFT_S(Call&) { throw EvalFailure("not written yet"); }
Value LEN(Call&) { throw EvalFailure("not written yet"); }
Value LTRIM_S(Call&) { throw EvalFailure("not written yet"); }
Value MID_S(Call&) { throw EvalFailure("not written yet"); }
Value RIGHT_S(Call&) { throw EvalFailure("not written yet"); }
Value RTRIM_S(Call&) { throw EvalFailure("not written yet"); }
Value SPACE_S(Call&) { throw EvalFailure("not written yet"); }
Value STRING_S(Call&) { throw EvalFailure("not written yet"); }
Value TAB(Call&) { throw EvalFailure("not written yet"); }
Value TRIM(Call&) { throw EvalFailure("not written yet"); }
Value UCASE(Call&) { throw EvalFailure("not written yet"); }

}  // namespace pelmora::builtins
