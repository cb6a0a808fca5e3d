#include "app/qt_option_button.hpp"

#include <QAccessible>
#include <QAccessibleWidget>

namespace siacci {

namespace {

QString withoutAccessKey(QString text)
{
    // "&Sì" reads "Sì"; "&&" is a plain ampersand.
    for (qsizetype at = text.indexOf(QLatin1Char('&')); at >= 0 && at < text.size(); at = text.indexOf(QLatin1Char('&'), at + 1))
        text.remove(at, 1);
    return text;
}

class AccessibleOption : public QAccessibleWidget {
public:
    explicit AccessibleOption(QWidget* widget) : QAccessibleWidget(widget, QAccessible::RadioButton)
    {
        addControllingSignal(QStringLiteral("toggled(bool)"));
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.checkable = true;
        s.checked = button()->isChecked();
        return s;
    }

    QString text(QAccessible::Text t) const override
    {
        QString text = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && text.isEmpty())
            text = withoutAccessKey(button()->text());
        return text;
    }

    QStringList actionNames() const override
    {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& action) override
    {
        if (!widget()->isEnabled())
            return;
        if (action == pressAction())
            button()->click();
        else
            QAccessibleWidget::doAction(action);
    }

private:
    QAbstractButton* button() const { return static_cast<QAbstractButton*>(widget()); }
};

QAccessibleInterface* optionFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("siacci::OptionButton") && object && object->isWidgetType())
        return new AccessibleOption(static_cast<QWidget*>(object));
    return nullptr;
}

} // namespace

OptionButton::OptionButton(const QString& text, QWidget* parent) : QRadioButton(text, parent)
{
    static const bool installed = [] {
        QAccessible::installFactory(optionFactory);
        return true;
    }();
    (void)installed;
    setAutoExclusive(false);
}

} // namespace siacci
