#include "app/qt_dialogs.hpp"

#include <QApplication>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

namespace siacci {

namespace {

// The box belongs to the window the user is in (the one that asked): it opens over that window,
// which stays in front, and the keyboard goes back to where it was once the box is closed.
class OwnerFocus {
public:
    explicit OwnerFocus(QWidget* fallback)
    {
        QWidget* active = QApplication::activeWindow();
        m_owner = active ? active : fallback;
        m_focus = QApplication::focusWidget();
    }
    ~OwnerFocus()
    {
        if (m_focus) {
            m_focus->activateWindow();
            m_focus->setFocus(Qt::OtherFocusReason);
        }
    }
    QWidget* owner() const { return m_owner; }

private:
    QPointer<QWidget> m_owner;
    QPointer<QWidget> m_focus;
};

} // namespace

std::optional<std::string> QtDialogs::prompt(const std::string& title, const std::string& text,
                                             const std::string& initialAnswer)
{
    const OwnerFocus owner(m_parent);
    QInputDialog dialog(owner.owner());
    dialog.setWindowTitle(QString::fromStdString(title.empty() ? kProgramTitle : title));
    // "metri/sec." stays whole at the end of a line (a word joiner after the slash).
    dialog.setLabelText(QString::fromStdString(text).replace(QStringLiteral("/"), QStringLiteral("/\u2060")));
    dialog.setTextValue(QString::fromStdString(initialAnswer));
    dialog.setInputMode(QInputDialog::TextInput);
    // The prompt's text is long: let it wrap instead of stretching the box across the screen.
    if (auto* label = dialog.findChild<QLabel*>())
        label->setWordWrap(true);
    dialog.setMinimumWidth(560);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue().toStdString();
}

MessageAnswer QtDialogs::message(const Message& m)
{
    const OwnerFocus owner(m_parent);
    QMessageBox box(owner.owner());
    box.setWindowTitle(QString::fromStdString(m.title.empty() ? kProgramTitle : m.title));
    box.setText(QString::fromStdString(m.text));
    switch (m.icon) {
    case MessageIcon::None: box.setIcon(QMessageBox::NoIcon); break;
    case MessageIcon::Information: box.setIcon(QMessageBox::Information); break;
    case MessageIcon::Warning: box.setIcon(QMessageBox::Warning); break;
    case MessageIcon::Critical: box.setIcon(QMessageBox::Critical); break;
    case MessageIcon::Question: box.setIcon(QMessageBox::Question); break;
    }
    if (m.buttons == MessageButtons::YesNoCancel) {
        QPushButton* yes = box.addButton(QString::fromStdString(m.yesText.empty() ? "Sì" : m.yesText),
                                         QMessageBox::YesRole);
        QPushButton* no = box.addButton(QString::fromStdString(m.noText.empty() ? "No" : m.noText),
                                        QMessageBox::NoRole);
        QPushButton* cancel = box.addButton(QStringLiteral("Annulla"), QMessageBox::RejectRole);
        box.setDefaultButton(m.cancelIsDefault ? cancel : yes);
        box.setEscapeButton(cancel);
        box.exec();
        return box.clickedButton() == yes ? MessageAnswer::Yes
               : box.clickedButton() == no ? MessageAnswer::No
                                           : MessageAnswer::Cancel;
    }
    QPushButton* ok = box.addButton(QMessageBox::Ok);
    QPushButton* cancel = nullptr;
    if (m.buttons == MessageButtons::OkCancel)
        cancel = box.addButton(QStringLiteral("Annulla"), QMessageBox::RejectRole);
    box.setDefaultButton(cancel && m.cancelIsDefault ? cancel : ok);
    box.exec();
    return box.clickedButton() == cancel && cancel ? MessageAnswer::Cancel : MessageAnswer::Ok;
}

void QtDialogs::beep()
{
    QApplication::beep();
}

} // namespace siacci
