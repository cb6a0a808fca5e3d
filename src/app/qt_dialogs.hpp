#pragma once

#include "common/ports.hpp"

#include <QPointer>
#include <QWidget>

namespace siacci {

// The program's modal boxes: Qt message boxes and input dialogs over a parent window.
class QtDialogs : public Dialogs {
public:
    explicit QtDialogs(QWidget* parent = nullptr) : m_parent(parent) {}

    std::optional<std::string> prompt(const std::string& title, const std::string& text,
                                      const std::string& initialAnswer) override;
    MessageAnswer message(const Message& message) override;
    void beep() override;

    void setParent(QWidget* parent) { m_parent = parent; }

private:
    QPointer<QWidget> m_parent;
};

// The program's title, used where a box has no title of its own.
inline constexpr const char* kProgramTitle = "Siacci";

} // namespace siacci
