// `make screenshots`: the calculator as it opens (calc_empty) and after 12.5 X 8 = and the key
// "Metri/Yards" (calc).
#include "calc/calc_window.hpp"

#include "main/screenshots.hpp"
#include "common/fakes.hpp"

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
}

} // namespace siacci::screenshots
