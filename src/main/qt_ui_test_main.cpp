// The view tests: GoogleTest cases driving real widgets with Qt Test, on the offscreen platform.
#include "app/qt_language.hpp"

#include <QApplication>
#include <QStandardPaths>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen"
                                                                     : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    // The user's own data (the armoury) is never read or written by the tests.
    QStandardPaths::setTestModeEnabled(true);
    siacci::installItalianTranslations(app); // as the program does
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
