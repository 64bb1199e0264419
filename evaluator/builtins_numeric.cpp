#include "evaluator/builtins_numeric.h"

#include "evaluator/failure.h"

namespace pelmora::builtins {

Value ABS(Call&) { throw EvalFailure("not written yet"); }
Value ATN(Call&) { throw EvalFailure("not written yet"); }
Value ATND(Call&) { throw EvalFailure("not written yet"); }
Value ASN(Call&) { throw EvalFailure("not written yet"); }
Value ASND(Call&) { throw EvalFailure("not written yet"); }
Value ASCD(Call&) { throw EvalFailure("not written yet"); }
Value ACS(Call&) { throw EvalFailure("not written yet"); }
Value ACSD(Call&) { throw EvalFailure("not written yet"); }
Value ACT(Call&) { throw EvalFailure("not written yet"); }
Value ACTD(Call&) { throw EvalFailure("not written yet"); }
Value CDBL(Call&) { throw EvalFailure("not written yet"); }
Value CEIL(Call&) { throw EvalFailure("not written yet"); }
Value CINT(Call&) { throw EvalFailure("not written yet"); }
Value COT(Call&) { throw EvalFailure("not written yet"); }
Value COTD(Call&) { throw EvalFailure("not written yet"); }
Value COS(Call&) { throw EvalFailure("not written yet"); }
Value COSD(Call&) { throw EvalFailure("not written yet"); }
Value CSC(Call&) { throw EvalFailure("not written yet"); }
Value CSCD(Call&) { throw EvalFailure("not written yet"); }
Value CSNG(Call&) { throw EvalFailure("not written yet"); }
Value CTN(Call&) { throw EvalFailure("not written yet"); }
Value CTND(Call&) { throw EvalFailure("not written yet"); }
Value EXP(Call&) { throw EvalFailure("not written yet"); }
Value FIX(Call&) { throw EvalFailure("not written yet"); }
Value FP(Call&) { throw EvalFailure("not written yet"); }
Value HSIN(Call&) { throw EvalFailure("not written yet"); }
Value HCOS(Call&) { throw EvalFailure("not written yet"); }
Value HTAN(Call&) { throw EvalFailure("not written yet"); }
Value HSEC(Call&) { throw EvalFailure("not written yet"); }
Value HCSE(Call&) { throw EvalFailure("not written yet"); }
Value HCTN(Call&) { throw EvalFailure("not written yet"); }
Value HASN(Call&) { throw EvalFailure("not written yet"); }
Value HACS(Call&) { throw EvalFailure("not written yet"); }
Value HATN(Call&) { throw EvalFailure("not written yet"); }
Value HASC(Call&) { throw EvalFailure("not written yet"); }
Value HACSE(Call&) { throw EvalFailure("not written yet"); }
Value INT(Call&) { throw EvalFailure("not written yet"); }
Value IP(Call&) { throw EvalFailure("not written yet"); }
Value LOG(Call&) { throw EvalFailure("not written yet"); }
Value LOG_range(Call&) { throw EvalFailure("not written yet"); }
Value MAX(Call&) { throw EvalFailure("not written yet"); }
Value MIN(Call&) { throw EvalFailure("not written yet"); }
Value RND(Call&) { throw EvalFailure("not written yet"); }
Value ROUND(Call&) { throw EvalFailure("not written yet"); }
Value REMINDER(Call&) { throw EvalFailure("not written yet"); }
Value SEC(Call&) { throw EvalFailure("not written yet"); }
Value SECD(Call&) { throw EvalFailure("not written yet"); }
Value SGN(Call&) { throw EvalFailure("not written yet"); }
Value SIN(Call&) { throw EvalFailure("not written yet"); }
Value SIND(Call&) { throw EvalFailure("not written yet"); }
Value SQR(Call&) { throw EvalFailure("not written yet"); }
Value TAN(Call&) { throw EvalFailure("not written yet"); }
Value TAND(Call&) { throw EvalFailure("not written yet"); }
Value TRUNCATE(Call&) { throw EvalFailure("not written yet"); }
Value RND_bare(Call&) { throw EvalFailure("not written yet"); }

}  // namespace pelmora::builtins
