// Conversion, date-time and system built-ins, with the reserved bare names.
#pragma once

#include "evaluator/builtins.h"

namespace pelmora::builtins {

Value CSRLIN(Call& call);
Value ERR(Call& call);
Value COMMAND_S(Call& call);
Value DATE_S(Call& call);
Value INKEY_S(Call& call);
Value TIME_S(Call& call);
Value ENVIRON_S(Call& call);
Value EOF_(Call& call);
Value EVAL(Call& call);
Value HEX_S(Call& call);
Value HOUR(Call& call);
Value IIF(Call& call);
Value INPUT_S(Call& call);
Value INP(Call& call);
Value LOC(Call& call);
Value LOF(Call& call);
Value MINUTE(Call& call);
Value OCT_S(Call& call);
Value POS(Call& call);
Value STR_S(Call& call);
Value SSTR_S(Call& call);
Value VAL(Call& call);

}  // namespace pelmora::builtins
