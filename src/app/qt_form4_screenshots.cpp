// `make screenshots`: the main window empty, with the metric and the imperial table, with the
// bullet buttons, and in the terminal-ballistics mode.
#include "app/qt_form4_window.hpp"

#include "common/qt_screenshots.hpp"
#include "catalogue/catalogue.hpp"

#include <QTabWidget>

namespace siacci::screenshots {

void form4(const QString& dir)
{
    Form4Window w;
    save(w, dir, "form4_empty");
    Form4& m = w.model();
    const std::pair<Field, const char*> example[] = {
        {Field::Text12, "800"}, {Field::Text11, "0.4"}, {Field::Text3, "300"},
        {Field::Text5, "220"},  {Field::Text4, "25"},   {Field::Text9, "15"},
        {Field::Text8, "0"},    {Field::Text7, "150"},  {Field::Text6, "4"}};
    for (const auto& [field, text] : example)
        m.fieldChanged(field, text);
    m.calcolaClicked();
    w.refresh();
    save(w, dir, "form4_metric");
    m.ingleseClicked();
    w.refresh();
    save(w, dir, "form4_imperial");
    m.presetChosen(*findPreset("tre11"));
    m.bulletClicked(3);
    w.refresh();
    w.findChild<QTabWidget*>("SSTab1")->setCurrentIndex(1);
    save(w, dir, "form4_bullets");
    m.presetChosen(*findPreset("RS38"));
    m.bulletClicked(9);
    w.refresh();
    w.findChild<QTabWidget*>("SSTab1")->setCurrentIndex(2);
    save(w, dir, "form4_terminal");
}

} // namespace siacci::screenshots
