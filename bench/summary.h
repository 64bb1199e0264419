// What the benchmarks of eval_bench share with its summary.
#pragma once

#include <cstdio>
#include <map>
#include <string>

namespace pelmora::bench {

// One benchmark's fastest run: CPU time per iteration, its label and its counters.
struct Figure {
    double ns = 0;
    std::string label;
    std::map<std::string, double> counters;
};

using Figures = std::map<std::string, Figure>;

inline std::string fixed(double v, int decimals) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
    return buf;
}

// Heap allocations so far in the whole program, counted by a replaced operator new.
std::size_t heapAllocations();

// The embedder's expressions: whether every peer gives what Eval gives, and their table.
bool sameEmbeddingResults();
void printEmbeddingSummary(const Figures& figures);

// The compiled expressions: whether they agree with muparser, and their table and targets.
bool sameCompiledResults();
void printCompiledSummary(const Figures& figures);

}  // namespace pelmora::bench
