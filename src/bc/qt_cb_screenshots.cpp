// `make screenshots`: the coefficient window as it opens (cb_empty) and after 800 / 594 / 300
// (cb: the result 0.4), and a coefficient past 10 with the Italian decimal comma (cb_large:
// 800 / 800 / 10).
#include "bc/qt_cb_window.hpp"

#include "common/qt_screenshots.hpp"
#include "common/fakes.hpp"

#include <QLineEdit>
#include <QPushButton>

namespace siacci::screenshots {

void cb(const QString& dir)
{
    ShotInput shot;
    testing::FakeDialogs dialogs;
    CbWindow window(shot, dialogs);
    save(window, dir, QStringLiteral("cb_empty"));
    const std::pair<const char*, const char*> typed[] = {
        {"Text1", "800"}, {"Text2", "594"}, {"Text3", "300"}};
    for (const auto& [name, text] : typed)
        if (auto* edit = window.findChild<QLineEdit*>(QString::fromLatin1(name))) {
            edit->setText(QString::fromLatin1(text));
            emit edit->textEdited(edit->text());
        }
    if (auto* calcola = window.findChild<QPushButton*>(QStringLiteral("Command1")))
        calcola->click();
    save(window, dir, QStringLiteral("cb"));

    CbWindow large(shot, dialogs, ',');
    const std::pair<const char*, const char*> close[] = {{"Text1", "800"}, {"Text2", "800"}, {"Text3", "10"}};
    for (const auto& [name, text] : close)
        if (auto* edit = large.findChild<QLineEdit*>(QString::fromLatin1(name))) {
            edit->setText(QString::fromLatin1(text));
            emit edit->textEdited(edit->text());
        }
    if (auto* calcola = large.findChild<QPushButton*>(QStringLiteral("Command1")))
        calcola->click();
    save(large, dir, QStringLiteral("cb_large"));
}

} // namespace siacci::screenshots
