// What a user waits for in the real main window, offscreen: the start-up to the first shown
// window, and single actions from the event to the refreshed grid.
#include "app/qt_form4_window.hpp"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <benchmark/benchmark.h>

namespace siacci {
namespace {

void typeWorkedExample(Form4Window& w)
{
    const std::pair<const char*, const char*> example[] = {
        {"Text12", "800"}, {"Text11", "0,4"}, {"Text3", "300"}, {"Text5", "220"}, {"Text4", "25"},
        {"Text9", "15"},   {"Text8", "0"},    {"Text7", "150"}, {"Text6", "4"}};
    for (const auto& [name, text] : example) {
        auto* edit = w.findChild<QLineEdit*>(name);
        edit->setText(text);
        emit edit->textEdited(text);
    }
}

void Ui_StartUpToFirstShownWindow(benchmark::State& state)
{
    for (auto _ : state) {
        Form4Window w;
        w.show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(&w);
    }
}
BENCHMARK(Ui_StartUpToFirstShownWindow)->Unit(benchmark::kMillisecond)->Iterations(10);

void Ui_CalcolaWorkedExample(benchmark::State& state)
{
    Form4Window w;
    w.show();
    typeWorkedExample(w);
    auto* calcola = w.findChild<QPushButton*>("Command1");
    for (auto _ : state) {
        QTest::mouseClick(calcola, Qt::LeftButton);
        QApplication::processEvents();
    }
}
BENCHMARK(Ui_CalcolaWorkedExample)->Unit(benchmark::kMillisecond);

void Ui_CatalogueBullet(benchmark::State& state)
{
    Form4Window w;
    w.show();
    w.findChild<QAction*>("tre11")->trigger();
    auto* third = w.findChild<QRadioButton*>("Option3");
    for (auto _ : state) {
        third->click();
        QApplication::processEvents();
    }
}
BENCHMARK(Ui_CatalogueBullet)->Unit(benchmark::kMillisecond);

void Ui_UnitSwitch(benchmark::State& state)
{
    Form4Window w;
    w.show();
    typeWorkedExample(w);
    auto* europee = w.findChild<QRadioButton*>("Option16");
    auto* inglesi = w.findChild<QRadioButton*>("Option17");
    bool imperial = false;
    for (auto _ : state) {
        (imperial ? europee : inglesi)->click();
        imperial = !imperial;
        QApplication::processEvents();
    }
}
BENCHMARK(Ui_UnitSwitch)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace siacci

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
