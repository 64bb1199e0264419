// A plotting loop: one formula of X, read once, evaluated at each point while the program
// changes X.
//
//   plot                              SIN(X)*EXP(-X/10)+X^2 from 0 to 10
//   plot 'X^3-2*X' -2 2 8             a formula, from, to and the number of steps
#include <pelmora/conversions.h>
#include <pelmora/evaluator.h>
#include <pelmora/expression.h>
#include <pelmora/sandbox_host.h>
#include <pelmora/symbols.h>

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
    const std::string formula = argc > 1 ? argv[1] : "SIN(X)*EXP(-X/10)+X^2";
    const double from = argc > 2 ? std::atof(argv[2]) : 0;
    const double to = argc > 3 ? std::atof(argv[3]) : 10;
    const int steps = argc > 4 ? std::atoi(argv[4]) : 10;

    double x = from;
    pelmora::Symbols symbols;
    symbols.defineVariable("X", &x);  // read from x at each evaluation
    const pelmora::Expression expression(formula, &symbols);

    // The clock and random numbers only; an undeclared name fails, nothing ends the program.
    pelmora::SandboxHost host;
    pelmora::Evaluator evaluator(host);
    for (int i = 0; i <= steps; ++i) {
        x = from + (to - from) * i / (steps > 0 ? steps : 1);
        evaluator.EvalErrorCode = 0;
        const pelmora::Value y = expression.evaluate(evaluator);
        std::printf("%g\t%s%s\n", x, pelmora::toUtf8(pelmora::plainText(y)).c_str(),
                    evaluator.EvalErrorCode != 0 ? "\t(failed)" : "");
    }
}
