#include "app/program.hpp"

namespace siacci {

Program::Program(Dialogs& dialogs, WindowHost& windows, PrintSink& printer, char decimalSeparator)
    : m_dialogs(dialogs), m_windows(windows), m_form(dialogs, windows, printer, decimalSeparator)
{
}

} // namespace siacci
