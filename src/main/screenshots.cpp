#include "main/screenshots.hpp"

#include "app/qt_language.hpp"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QStandardPaths>
#include <QThread>

#include <cstdio>

namespace siacci::screenshots {

void save(QWidget& widget, const QString& dir, const QString& name)
{
    widget.show();
    for (int i = 0; i < 5; ++i) {
        QApplication::processEvents();
        QThread::msleep(10);
    }
    const QString path = QDir(dir).filePath(name + ".png");
    widget.grab().save(path);
    std::printf("%s\n", qPrintable(path));
}

} // namespace siacci::screenshots

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true); // never the user's own armoury
    siacci::installItalianTranslations(app);
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(dir);
    siacci::screenshots::form4(dir);
    siacci::screenshots::calc(dir);
    siacci::screenshots::cb(dir);
    siacci::screenshots::graph(dir);
    siacci::screenshots::files(dir);
    siacci::screenshots::print(dir);
    siacci::screenshots::card(dir);
    siacci::screenshots::armoury(dir);
    return 0;
}
