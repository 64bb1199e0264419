// The one table that names the built-ins, in the order Ffc compares them.
#include "evaluator/builtins.h"
#include "evaluator/builtins_numeric.h"
#include "evaluator/builtins_string.h"
#include "evaluator/builtins_system.h"

namespace pelmora {

namespace {

using namespace builtins;

constexpr BuiltinEntry kBuiltins[] = {
    {u"ABS", ABS},
    {u"AKCNV$", AKCNV_S},
    {u"ASC", ASC},
    {u"ATN", ATN},
    {u"ATND", ATND},
    {u"ASN", ASN},
    {u"ASND", ASND},
    {u"ASCD", ASCD},
    {u"ACS", ACS},
    {u"ACSD", ACSD},
    {u"ACT", ACT},
    {u"ACTD", ACTD},
    {u"CDBL", CDBL},
    {u"CEIL", CEIL},
    {u"CHR$", CHR_S},
    {u"CINT", CINT},
    {u"COT", COT},
    {u"COTD", COTD},
    {u"COS", COS},
    {u"COSD", COSD},
    {u"CSC", CSC},
    {u"CSCD", CSCD},
    {u"CSNG", CSNG},
    {u"CTN", CTN},
    {u"CTND", CTND},
    {u"ENVIRON$", ENVIRON_S},
    {u"EOF", EOF_},
    {u"EXP", EXP},
    {u"EVAL", EVAL},
    {u"FIX", FIX},
    {u"FP", FP},
    {u"HEX$", HEX_S},
    {u"HOUR", HOUR},
    {u"HSIN", HSIN},
    {u"HCOS", HCOS},
    {u"HTAN", HTAN},
    {u"HSEC", HSEC},
    {u"HCSE", HCSE},
    {u"HCTN", HCTN},
    {u"HASN", HASN},
    {u"HACS", HACS},
    {u"HATN", HATN},
    {u"HASC", HASC},
    {u"HACSE", HACSE},
    {u"IIF", IIF},
    {u"INPUT$", INPUT_S},
    {u"INSTR", INSTR},
    {u"INT", INT},
    {u"INP", INP},
    {u"IP", IP},
    {u"JIS$", JIS_S},
    {u"KACNV$", KACNV_S},
    {u"KINSTR", KINSTR},
    {u"KLEN", KLEN},
    {u"KMID$", KMID_S},
    {u"KNJ$", KNJ_S},
    {u"LCASE$", LCASE_S},
    {u"LEFT$", LEFT_S},
    {u"LEN", LEN},
    {u"LOC", LOC},
    {u"LOF", LOF},
    {u"LOG", LOG},
    // Any name above "LOG" and up to "LOG99": the logarithm to the base in the name.
    {u"LOG99", LOG_range, u"LOG"},
    {u"LTRIM$", LTRIM_S},
    {u"MAX", MAX},
    {u"MID$", MID_S},
    {u"MIN", MIN},
    {u"MINUTE", MINUTE},
    {u"OCT$", OCT_S},
    {u"POS", POS},
    {u"RIGHT$", RIGHT_S},
    {u"RND", RND},
    {u"ROUND", ROUND},
    {u"RTRIM$", RTRIM_S},
    {u"REMINDER", REMINDER},
    {u"SEC", SEC},
    {u"SECD", SECD},
    {u"SGN", SGN},
    {u"SIN", SIN},
    {u"SIND", SIND},
    {u"SPACE$", SPACE_S},
    {u"SPC", SPACE_S},
    {u"SQR", SQR},
    {u"STR$", STR_S},
    {u"SSTR$", SSTR_S},
    {u"STRING$", STRING_S},
    {u"TAB", TAB},
    {u"TAN", TAN},
    {u"TAND", TAND},
    {u"TRIM", TRIM},
    {u"TRUNCATE", TRUNCATE},
    {u"UCASE", UCASE},
    {u"VAL", VAL},
};
static_assert(std::size(kBuiltins) == 93);

constexpr BuiltinEntry kBareNames[] = {
    {u"CSRLIN", CSRLIN},  {u"ERR", ERR},      {u"COMMAND$", COMMAND_S}, {u"DATE$", DATE_S},
    {u"INKEY$", INKEY_S}, {u"TIME$", TIME_S}, {u"RND", RND_bare},
};

}  // namespace

std::span<const BuiltinEntry> builtinTable() {
    return kBuiltins;
}
std::span<const BuiltinEntry> bareNameTable() {
    return kBareNames;
}

}  // namespace pelmora
