// The one table that names the built-ins, in the order Ffc compares them.
#include "evaluator/builtins.h"
#include "evaluator/builtins_numeric.h"
#include "evaluator/builtins_string.h"
#include "evaluator/builtins_system.h"

namespace pelmora {

namespace {

using namespace builtins;
using enum Family;

constexpr BuiltinEntry kBuiltins[] = {
    {u"ABS", ABS, Numeric, "x", "kind of x"},
    {u"AKCNV$", AKCNV_S, String, "text", "String"},
    {u"ASC", ASC, String, "text", "Byte"},
    {u"ATN", ATN, Numeric, "x", "Double"},
    {u"ATND", ATND, Numeric, "x", "Double"},
    {u"ASN", ASN, Numeric, "x", "Double"},
    {u"ASND", ASND, Numeric, "x", "Double"},
    {u"ASCD", ASCD, Numeric, "x", "Double"},
    {u"ACS", ACS, Numeric, "x", "Double"},
    {u"ACSD", ACSD, Numeric, "x", "Double"},
    {u"ACT", ACT, Numeric, "x", "Double"},
    {u"ACTD", ACTD, Numeric, "x", "Double"},
    {u"CDBL", CDBL, Numeric, "x", "Double"},
    {u"CEIL", CEIL, Numeric, "x", "kind of x"},
    {u"CHR$", CHR_S, String, "code", "String"},
    {u"CINT", CINT, Numeric, "x", "Integer"},
    {u"COT", COT, Numeric, "x", "Double"},
    {u"COTD", COTD, Numeric, "x", "Double"},
    {u"COS", COS, Numeric, "x", "Double"},
    {u"COSD", COSD, Numeric, "x", "Double"},
    {u"CSC", CSC, Numeric, "x", "Double"},
    {u"CSCD", CSCD, Numeric, "x", "Double"},
    {u"CSNG", CSNG, Numeric, "x", "Single"},
    {u"CTN", CTN, Numeric, "x", "Double"},
    {u"CTND", CTND, Numeric, "x", "Double"},
    {u"ENVIRON$", ENVIRON_S, System, "name or n", "String"},
    {u"EOF", EOF_, System, "file", "Boolean"},
    {u"EXP", EXP, Numeric, "x", "Double"},
    {u"EVAL", EVAL, System, "x", "any"},
    {u"FIX", FIX, Numeric, "x", "kind of x"},
    {u"FP", FP, Numeric, "x", "Double"},
    {u"HEX$", HEX_S, System, "x", "String"},
    {u"HOUR", HOUR, System, "time", "Integer"},
    {u"HSIN", HSIN, Numeric, "x", "Double"},
    {u"HCOS", HCOS, Numeric, "x", "Double"},
    {u"HTAN", HTAN, Numeric, "x", "Double"},
    {u"HSEC", HSEC, Numeric, "x", "Double"},
    {u"HCSE", HCSE, Numeric, "x", "Double"},
    {u"HCTN", HCTN, Numeric, "x", "Double"},
    {u"HASN", HASN, Numeric, "x", "Double"},
    {u"HACS", HACS, Numeric, "x", "Double"},
    {u"HATN", HATN, Numeric, "x", "Double"},
    {u"HASC", HASC, Numeric, "x", "Double"},
    {u"HACSE", HACSE, Numeric, "x", "Double"},
    {u"IIF", IIF, System, "condition, yes, no", "kind of the choice"},
    {u"INPUT$", INPUT_S, System, "n[, file]", "String or Empty"},
    {u"INSTR", INSTR, String, "[start,] text, search", "Long"},
    {u"INT", INT, Numeric, "x", "kind of x"},
    {u"INP", INP, System, "port", "Integer"},
    {u"IP", IP, Numeric, "x", "Integer"},
    {u"JIS$", JIS_S, String, "text", "String"},
    {u"KACNV$", KACNV_S, String, "text", "String"},
    {u"KINSTR", KINSTR, String, "[start,] text, search", "Long"},
    {u"KLEN", KLEN, String, "text", "Long"},
    {u"KMID$", KMID_S, String, "text, start[, length]", "String"},
    {u"KNJ$", KNJ_S, String, "code", "String"},
    {u"LCASE$", LCASE_S, String, "text", "String"},
    {u"LEFT$", LEFT_S, String, "text, n", "String"},
    {u"LEN", LEN, String, "text", "Long"},
    {u"LOC", LOC, System, "file", "Long"},
    {u"LOF", LOF, System, "file", "Long"},
    {u"LOG", LOG, Numeric, "x", "Double"},
    // Any name above "LOG" and up to "LOG99": the logarithm to the base in the name.
    {u"LOG99", LOG_range, Numeric, "x", "Double", u"LOG"},
    {u"LTRIM$", LTRIM_S, String, "text", "String"},
    {u"MAX", MAX, Numeric, "a, b", "String or b"},
    {u"MID$", MID_S, String, "text, start[, length]", "String"},
    {u"MIN", MIN, Numeric, "a, b", "String or b"},
    {u"MINUTE", MINUTE, System, "time", "Integer"},
    {u"OCT$", OCT_S, System, "x", "String"},
    {u"POS", POS, System, "none evaluated", "Empty"},
    {u"RIGHT$", RIGHT_S, String, "text, n", "String"},
    {u"RND", RND, Numeric, "x", "Single"},
    {u"ROUND", ROUND, Numeric, "x, places", "kind of x"},
    {u"RTRIM$", RTRIM_S, String, "text", "String"},
    {u"REMINDER", REMINDER, Numeric, "a, b", "Double"},
    {u"SEC", SEC, Numeric, "x", "Double"},
    {u"SECD", SECD, Numeric, "x", "Double"},
    {u"SGN", SGN, Numeric, "x", "Integer"},
    {u"SIN", SIN, Numeric, "x", "Double"},
    {u"SIND", SIND, Numeric, "x", "Double"},
    {u"SPACE$", SPACE_S, String, "n", "String"},
    {u"SPC", SPACE_S, String, "n", "String"},
    {u"SQR", SQR, Numeric, "x", "Double"},
    {u"STR$", STR_S, System, "x", "String"},
    {u"SSTR$", SSTR_S, System, "x", "String"},
    {u"STRING$", STRING_S, String, "n, character", "String"},
    {u"TAB", TAB, String, "n", "String"},
    {u"TAN", TAN, Numeric, "x", "Double"},
    {u"TAND", TAND, Numeric, "x", "Double"},
    {u"TRIM", TRIM, String, "text", "String"},
    {u"TRUNCATE", TRUNCATE, Numeric, "x, places", "Double"},
    {u"UCASE", UCASE, String, "text", "String"},
    {u"VAL", VAL, System, "x", "Double"},
};

constexpr BuiltinEntry kBareNames[] = {
    {u"CSRLIN", CSRLIN, System, "", "Empty"},       {u"ERR", ERR, System, "", "Object"},
    {u"COMMAND$", COMMAND_S, System, "", "String"}, {u"DATE$", DATE_S, System, "", "String"},
    {u"INKEY$", INKEY_S, System, "", "Empty"},      {u"TIME$", TIME_S, System, "", "Date"},
    {u"RND", RND_bare, Numeric, "", "Single"},
};

}  // namespace

std::span<const BuiltinEntry> builtinTable() {
    return kBuiltins;
}
std::span<const BuiltinEntry> bareNameTable() {
    return kBareNames;
}

namespace {
std::vector<BuiltinName> namesOf(std::span<const BuiltinEntry> table) {
    return {table.begin(), table.end()};
}
}  // namespace

std::vector<BuiltinName> builtinFunctionNames() {
    return namesOf(kBuiltins);
}
std::vector<BuiltinName> bareBuiltinNames() {
    return namesOf(kBareNames);
}

}  // namespace pelmora
