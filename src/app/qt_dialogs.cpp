#include "app/qt_dialogs.hpp"

#include <QApplication>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

namespace siacci {

std::optional<std::string> QtDialogs::prompt(const std::string& title, const std::string& text,
                                             const std::string& initialAnswer)
{
    QInputDialog dialog(m_parent);
    dialog.setWindowTitle(QString::fromStdString(title.empty() ? kProgramTitle : title));
    dialog.setLabelText(QString::fromStdString(text));
    dialog.setTextValue(QString::fromStdString(initialAnswer));
    dialog.setInputMode(QInputDialog::TextInput);
    // The prompt's text is long: let it wrap instead of stretching the box across the screen.
    if (auto* label = dialog.findChild<QLabel*>())
        label->setWordWrap(true);
    dialog.setMinimumWidth(420);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue().toStdString();
}

MessageAnswer QtDialogs::message(const Message& m)
{
    QMessageBox box(m_parent);
    box.setWindowTitle(QString::fromStdString(m.title.empty() ? kProgramTitle : m.title));
    box.setText(QString::fromStdString(m.text));
    switch (m.icon) {
    case MessageIcon::None: box.setIcon(QMessageBox::NoIcon); break;
    case MessageIcon::Information: box.setIcon(QMessageBox::Information); break;
    case MessageIcon::Warning: box.setIcon(QMessageBox::Warning); break;
    case MessageIcon::Critical: box.setIcon(QMessageBox::Critical); break;
    case MessageIcon::Question: box.setIcon(QMessageBox::Question); break;
    }
    QPushButton* ok = box.addButton(QMessageBox::Ok);
    QPushButton* cancel = nullptr;
    if (m.buttons == MessageButtons::OkCancel)
        cancel = box.addButton(QMessageBox::Cancel);
    box.setDefaultButton(cancel && m.cancelIsDefault ? cancel : ok);
    box.exec();
    return box.clickedButton() == cancel && cancel ? MessageAnswer::Cancel : MessageAnswer::Ok;
}

void QtDialogs::beep()
{
    QApplication::beep();
}

} // namespace siacci
