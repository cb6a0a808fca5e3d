#pragma once

#include "app/form4.hpp"

// The program-wide state, owned by the main window: the Form4 model with the shot and the
// modes, and the state that the other windows share with it.
namespace siacci {

class Program {
public:
    Program(Dialogs& dialogs, WindowHost& windows, PrintSink& printer, char decimalSeparator);

    Form4& form() { return m_form; }
    Dialogs& dialogs() { return m_dialogs; }
    WindowHost& windows() { return m_windows; }

private:
    Dialogs& m_dialogs;
    WindowHost& m_windows;
    Form4 m_form;
};

} // namespace siacci
