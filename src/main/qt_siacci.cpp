// Siacci: the desktop program. It reads no command line, no environment and no settings; the
// user's armoury is read from his data folder.
#include "app/qt_form4_window.hpp"
#include "app/qt_language.hpp"
#include "common/version.hpp"
#include "print/qt_icons.hpp"

#include <QApplication>
#include <QIcon>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    siacci::installItalianTranslations(app);
    QApplication::setApplicationName("Siacci");
    QApplication::setApplicationVersion(QString::fromLatin1(siacci::kVersion));
    // The same name and icon as the installed desktop entry.
    QGuiApplication::setDesktopFileName("it.siacci.Siacci");
    QApplication::setWindowIcon(QIcon::fromTheme("siacci", siacci::applicationIcon()));
    siacci::Form4Window window;
    window.show();
    return app.exec();
}
