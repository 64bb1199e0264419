// Numeric built-ins: rounding, trigonometry, hyperbolic functions, logarithms, MAX/MIN, RND.
#pragma once

#include "evaluator/builtins.h"

namespace pelmora::builtins {

Value ABS(Call& call);
Value ATN(Call& call);
Value ATND(Call& call);
Value ASN(Call& call);
Value ASND(Call& call);
Value ASCD(Call& call);
Value ACS(Call& call);
Value ACSD(Call& call);
Value ACT(Call& call);
Value ACTD(Call& call);
Value CDBL(Call& call);
Value CEIL(Call& call);
Value CINT(Call& call);
Value COT(Call& call);
Value COTD(Call& call);
Value COS(Call& call);
Value COSD(Call& call);
Value CSC(Call& call);
Value CSCD(Call& call);
Value CSNG(Call& call);
Value CTN(Call& call);
Value CTND(Call& call);
Value EXP(Call& call);
Value FIX(Call& call);
Value FP(Call& call);
Value HSIN(Call& call);
Value HCOS(Call& call);
Value HTAN(Call& call);
Value HSEC(Call& call);
Value HCSE(Call& call);
Value HCTN(Call& call);
Value HASN(Call& call);
Value HACS(Call& call);
Value HATN(Call& call);
Value HASC(Call& call);
Value HACSE(Call& call);
Value INT(Call& call);
Value IP(Call& call);
Value LOG(Call& call);
Value LOG_range(Call& call);
Value MAX(Call& call);
Value MIN(Call& call);
Value RND(Call& call);
Value ROUND(Call& call);
Value REMINDER(Call& call);
Value SEC(Call& call);
Value SECD(Call& call);
Value SGN(Call& call);
Value SIN(Call& call);
Value SIND(Call& call);
Value SQR(Call& call);
Value TAN(Call& call);
Value TAND(Call& call);
Value TRUNCATE(Call& call);
Value RND_bare(Call& call);

}  // namespace pelmora::builtins
