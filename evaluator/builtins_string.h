// String and code page built-ins: characters, bytes, Shift-JIS codes, width forms.
#pragma once

#include "evaluator/builtins.h"

namespace pelmora::builtins {

Value AKCNV_S(Call& call);
Value ASC(Call& call);
Value CHR_S(Call& call);
Value INSTR(Call& call);
Value JIS_S(Call& call);
Value KACNV_S(Call& call);
Value KINSTR(Call& call);
Value KLEN(Call& call);
Value KMID_S(Call& call);
Value KNJ_S(Call& call);
Value LCASE_S(Call& call);
Value LEFT_S(Call& call);
Value LEN(Call& call);
Value LTRIM_S(Call& call);
Value MID_S(Call& call);
Value RIGHT_S(Call& call);
Value RTRIM_S(Call& call);
Value SPACE_S(Call& call);
Value STRING_S(Call& call);
Value TAB(Call& call);
Value TRIM(Call& call);
Value UCASE(Call& call);

}  // namespace pelmora::builtins
