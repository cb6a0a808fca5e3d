// What a user's actions cost in the main window's model.
#include "app/form4.hpp"
#include "catalogue/catalogue.hpp"
#include "common/fakes.hpp"

#include <benchmark/benchmark.h>

namespace siacci {
namespace {

struct Bench {
    testing::FakeDialogs dialogs;
    testing::FakeWindowHost windows;
    testing::FakePrintSink printer;
    Form4 form{dialogs, windows, printer};
    Bench() { form.startUp(); }
};

// CALCOLA with the worked example typed in: reading the fields and the 13-row metric table.
void Form4_CalcolaWorkedExample(benchmark::State& state)
{
    Bench b;
    const std::pair<Field, const char*> example[] = {
        {Field::Text12, "800"}, {Field::Text11, "0,4"}, {Field::Text3, "300"},
        {Field::Text5, "220"},  {Field::Text4, "25"},   {Field::Text9, "15"},
        {Field::Text8, "0"},    {Field::Text7, "150"},  {Field::Text6, "4"}};
    for (const auto& [field, text] : example)
        b.form.fieldChanged(field, text);
    for (auto _ : state) {
        b.form.calcolaClicked();
        benchmark::DoNotOptimize(b.form.grid().rows.data());
    }
}
BENCHMARK(Form4_CalcolaWorkedExample);

// Every load of the catalogue chosen in turn from its menu item and its bullet button, each
// computing the table of its mode.
void Form4_WholeCatalogue(benchmark::State& state)
{
    Bench b;
    int loads = 0;
    for (auto _ : state) {
        loads = 0;
        for (const auto& menu : catalogueMenus())
            for (const auto& family : menu.families)
                for (const auto& preset : family.presets) {
                    b.form.presetChosen(preset);
                    for (int k = 1; k <= static_cast<int>(preset.loads.size()); ++k) {
                        b.form.selectBullet(k);
                        ++loads;
                    }
                }
        benchmark::DoNotOptimize(b.form.grid().rows.data());
    }
    state.counters["loads"] = loads;
}
BENCHMARK(Form4_WholeCatalogue)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace siacci
