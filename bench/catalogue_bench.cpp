// Speed of the catalogue solver: one Quellon of each kind, and the whole
// shipped catalogue, which the composer solves every time it orders one.
#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>

#include "tools/catalogue/generator.h"
#include "tools/catalogue/solver.h"
#include "tools/catalogue/validator.h"

using namespace quellon;
using namespace quellon::catalogue;

namespace {

// Composed Quellons alternate between the even and the odd orientations.
PuzzleRecord composedQuellon(bool tilted)
{
    GeneratorOptions options;
    options.count = 2;
    options.seed = 4;
    GeneratorReport report;
    for (const PuzzleRecord& record : generateCatalogue(options, report))
        if ((record.pieces[0].orientation % 2 == 1) == tilted)
            return record;
    return {};
}

void BM_solveQuellon(benchmark::State& state)
{
    const PuzzleRecord record = composedQuellon(state.range(0) == 1);
    SolveResult result;
    for (auto _ : state)
        benchmark::DoNotOptimize(result = solveQuellon(record));
    state.counters["layouts"] = static_cast<double>(result.layouts);
    state.counters["nodes"] = static_cast<double>(result.nodes);
}
BENCHMARK(BM_solveQuellon)->ArgName("tilted")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_solveShippedCatalogue(benchmark::State& state)
{
    std::ifstream in(QUELLON_SHIPPED_CATALOGUE, std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::vector<PuzzleRecord> records = recordsOf(bytes);
    if (records.empty()) {
        state.SkipWithError("the shipped catalogue cannot be read");
        return;
    }
    for (auto _ : state)
        for (const PuzzleRecord& record : records)
            benchmark::DoNotOptimize(solveQuellon(record).layouts);
    state.counters["quellons"] = static_cast<double>(records.size());
}
BENCHMARK(BM_solveShippedCatalogue)->Unit(benchmark::kMillisecond);

}  // namespace
