#include "main/screenshots.hpp"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QTest>

#include <cstdio>

namespace siacci::screenshots {

void save(QWidget& widget, const QString& dir, const QString& name)
{
    widget.show();
    QTest::qWait(50);
    QApplication::processEvents();
    const QString path = QDir(dir).filePath(name + ".png");
    widget.grab().save(path);
    std::printf("%s\n", qPrintable(path));
}

} // namespace siacci::screenshots

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(dir);
    return 0;
}
