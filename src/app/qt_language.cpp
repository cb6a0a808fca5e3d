#include "app/qt_language.hpp"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace siacci {

bool installItalianTranslations(QCoreApplication& app)
{
    auto* translator = new QTranslator(&app);
    if (!translator->load(QStringLiteral("qtbase_it"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

} // namespace siacci
