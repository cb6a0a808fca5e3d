#include "common/qt_screenshots.hpp"

#include <QApplication>
#include <QDir>
#include <QPixmap>
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
