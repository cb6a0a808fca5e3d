#pragma once

#include "bc/bc_search.hpp"
#include "common/ports.hpp"
#include "common/shot.hpp"

#include <QPointer>
#include <QString>
#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

// The window `CB` ("Calcola il Coefficiente Balistico"): the ballistic coefficient from two
// chronograph readings, on a 4605 x 2760 twip client area.
//
// Widgets carry the program's control names as objectName: "Label3" "Text1" (first velocity),
// "Label4" "Text2" (second velocity), "Label5" "Text3" (distance), "Command1" ("CALCOLA"),
// "Command2" ("ESCI"), "Label1" and the result "Label2". Where the system's font would clip a
// caption, the column of the values moves right just enough and the window widens with it.
// The window is modeless; shown through the WindowRegistry, it is deleted when closed, so that
// the next opening starts with empty fields.
namespace siacci {

class CbWindow : public QWidget {
    Q_OBJECT

public:
    // `shot` receives the first velocity at every press of CALCOLA; `dialogs` shows the
    // refusals. Both must outlive the window. The result is written with `decimalSeparator`, the
    // main window's. A parent, when given, only owns the window: it stays a window of its own.
    CbWindow(ShotInput& shot, Dialogs& dialogs, char decimalSeparator = '.', QWidget* parent = nullptr);

    const CbModel& model() const { return m_model; }

private:
    void createWidgets();
    void placeWidgets();
    void refresh();

    CbModel m_model;
    QLabel* m_label3 = nullptr;
    QLabel* m_label4 = nullptr;
    QLabel* m_label5 = nullptr;
    QLabel* m_label1 = nullptr;
    QLabel* m_label2 = nullptr;
    QLineEdit* m_text1 = nullptr;
    QLineEdit* m_text2 = nullptr;
    QLineEdit* m_text3 = nullptr;
    QPushButton* m_command1 = nullptr;
    QPushButton* m_command2 = nullptr;
};

} // namespace siacci
