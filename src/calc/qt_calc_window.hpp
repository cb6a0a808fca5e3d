#pragma once

#include "calc/calculator.hpp"
#include "common/ports.hpp"

#include <QPointer>
#include <QString>
#include <QFont>
#include <QWidget>

#include <array>

class QLabel;
class QPushButton;

// The window `Calc` ("Calcolatrice&Conversioni"): the pocket calculator and its fourteen
// conversion keys, laid out on a 3060 x 6510 twip client area.
//
// Widgets carry the program's control names as objectName; the control arrays add the index:
// "Readout", "number_0" ... "number_9" (number(i), captions "7" "9" "8" "4" "5" "6" "1" "2"
// "3" "0"), "decimal", "operator_0" ... "operator_4" ("+" "-" "X" "/" "="), "Cancel" ("C"),
// "Command1" ("ESCI"), "Label1" ... "Label4", "dea_0" ... "dea_13". Each array button also
// has the int property "index". The conversion keys stand in two columns, dea(i) in row i / 2,
// the left column for even i.
//
// Keyboard: digits, "." and "," (the point), "+", "-", "*" (or "x"), "/", "=" and Enter,
// Escape for "C". The window is modeless; shown through the WindowRegistry, it is deleted when
// closed, so that the next opening starts afresh.
namespace siacci {

class CalcWindow : public QWidget {
    Q_OBJECT

public:
    // `dialogs` shows the calculator's warnings; it must outlive the window. A parent, when
    // given, only owns the window: it stays a window of its own.
    explicit CalcWindow(Dialogs& dialogs, QWidget* parent = nullptr);

    const Calculator& model() const { return m_calc; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void createWidgets();
    void placeWidgets();
    void fitFonts();
    void refresh();
    QPushButton* makeKey(const QString& name, const QString& caption, int index);

    Calculator m_calc;
    // The fonts of the display and of the value boxes when their text fits; a longer number is
    // shown smaller, never cut.
    QFont m_readoutFont;
    QFont m_valueFont;
    QLabel* m_readout = nullptr;
    std::array<QLabel*, 4> m_labels{}; // Label1 ... Label4
    std::array<QPushButton*, kNumberKeys> m_number{};
    QPushButton* m_decimal = nullptr;
    std::array<QPushButton*, kOperatorKeys> m_operator{};
    QPushButton* m_cancel = nullptr;
    QPushButton* m_command1 = nullptr;
    std::array<QPushButton*, kConversionKeys> m_dea{};
};

} // namespace siacci
