#pragma once

class QCoreApplication;

namespace siacci {

// Qt's own texts (the buttons of message boxes and prompts, the print and preview dialogs) in
// Italian, as the rest of the program: Qt's translations from the system's Qt installation.
// False when they are not installed; the program then goes on with Qt's English texts (but for
// the few the program translates itself: the kinds of entries of the file dialog, "Cartella").
bool installItalianTranslations(QCoreApplication& app);

} // namespace siacci
