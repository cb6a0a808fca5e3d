// What a user waits for in the range card's window, offscreen: from a key typed in a field to the
// table, the notes and the plot refreshed and painted (target: one frame, 16 ms). The main() of
// siacci_ui_bench is in app/qt_form4_bench.cpp.
#include "app/qt_form4_window.hpp"
#include "card/qt_card_window.hpp"
#include "catalogue/catalogue.hpp"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <benchmark/benchmark.h>

namespace siacci {
namespace {

void Ui_CardEditVelocity(benchmark::State& state)
{
    Form4Window main;
    main.model().presetChosen(*findPreset("tre11"));
    main.model().selectBullet(1);
    card::CardWindow w(main.model());
    w.show();
    QApplication::processEvents();
    auto* velocity = w.findChild<QLineEdit*>("velocita");
    velocity->setFocus();
    velocity->end(false);
    QTest::keyClick(velocity, Qt::Key_Comma); // "823,": a decimal to type and take back
    bool odd = false;
    for (auto _ : state) {
        // A decimal typed, then taken back: each key is one edit and one recomputation.
        if ((odd = !odd))
            QTest::keyClick(velocity, Qt::Key_5);
        else
            QTest::keyClick(velocity, Qt::Key_Backspace);
        w.repaint();
        QApplication::processEvents();
    }
}
BENCHMARK(Ui_CardEditVelocity)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace siacci
