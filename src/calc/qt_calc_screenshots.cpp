// `make screenshots`: the calculator as it opens (calc_empty), after 12.5 X 8 = and the key
// "Metri/Yards" (calc), and with the longest numbers it writes (calc_long: 99999999 cubed in
// grains, then a long typed number on the display).
#include "calc/qt_calc_window.hpp"

#include "common/qt_screenshots.hpp"
#include "common/fakes.hpp"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QPushButton>

namespace siacci::screenshots {

void calc(const QString& dir)
{
    testing::FakeDialogs dialogs;
    CalcWindow window(dialogs);
    save(window, dir, QStringLiteral("calc_empty"));
    auto press = [&](const QString& name) {
        if (auto* key = window.findChild<QPushButton*>(name))
            key->click();
    };
    // 12.5 X 8 = 100, then 100 metres in yards.
    for (const char* name : {"number_6", "number_7", "decimal", "number_4", "operator_2",
                             "number_2", "operator_4", "dea_5"})
        press(QString::fromLatin1(name));
    save(window, dir, QStringLiteral("calc"));

    CalcWindow large(dialogs);
    const auto type = [&](const char* keys) {
        for (const char* k = keys; *k; ++k) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(QLatin1Char(*k)));
            QCoreApplication::sendEvent(&large, &press);
        }
    };
    type("99999999*99999999*99999999=");
    if (auto* key = large.findChild<QPushButton*>(QStringLiteral("dea_9")))
        key->click();
    type("12345678901234567.891");
    save(large, dir, QStringLiteral("calc_long"));
}

} // namespace siacci::screenshots
