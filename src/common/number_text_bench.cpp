#include "common/float_text.hpp"
#include "common/number_text.hpp"

#include <benchmark/benchmark.h>

#include <array>
#include <string>

namespace siacci {
namespace {

// One row of the range card at 300 m, with the decimals the tool shows in each column.
constexpr std::array<double, 15> kRow = {300,    612.3456789, 1.798912, 0.42781234, 1825.3312,
                                         186.1322, -35.678123, 80.121234, 12.345678,  4.0912345,
                                         1.1901234, 12,         1.4123456, 0.41098765, 4};
constexpr std::array<int, 15> kDecimals = {1, 1, 3, 3, 0, 0, 1, 1, 1, 2, 2, 0, 2, 2, 0};

// The row as the tool's TSV line: each cell rounded, then joined by tabs.
void BM_CardRowToTsv(benchmark::State& state)
{
    std::string line;
    for (auto _ : state) {
        line.clear();
        for (std::size_t i = 0; i < kRow.size(); ++i) {
            if (i > 0)
                line += '\t';
            line += roundedText(kRow[i], kDecimals[i], '.');
        }
        line += '\n';
        benchmark::DoNotOptimize(line.data());
    }
}
BENCHMARK(BM_CardRowToTsv);

// The same row in JSON's full precision: the shortest text of each number.
void BM_CardRowToJsonNumbers(benchmark::State& state)
{
    char buffer[32];
    for (auto _ : state) {
        std::size_t total = 0;
        for (const double v : kRow)
            total += static_cast<std::size_t>(toChars(buffer, buffer + sizeof buffer, v).ptr - buffer);
        benchmark::DoNotOptimize(total);
    }
}
BENCHMARK(BM_CardRowToJsonNumbers);

// Reading a typed field.
void BM_ReadField(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(readField("823,45"));
}
BENCHMARK(BM_ReadField);

} // namespace
} // namespace siacci
