#include "app/qt_language.hpp"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <cstring>

namespace siacci {

namespace {

// The texts of Qt 6 that Qt's Italian translation does not have yet: the kinds of the entries of
// the file dialog ("Folder" for a folder, "csv File" for a file). Asked before Qt's own
// translation; every other text goes on to it.
class MissingQtTexts : public QTranslator {
public:
    using QTranslator::QTranslator;

    bool isEmpty() const override { return false; }

    QString translate(const char* context, const char* source, const char* /*disambiguation*/,
                      int /*n*/) const override
    {
        struct Text {
            const char* context;
            const char* source;
            const char* italian;
        };
        static constexpr Text kTexts[] = {
            {"QAbstractFileIconProvider", "Folder", "Cartella"},
            {"QAbstractFileIconProvider", "File Folder", "Cartella"},
            {"QAbstractFileIconProvider", "Drive", "Unità"},
            {"QAbstractFileIconProvider", "File", "File"},
            {"QAbstractFileIconProvider", "%1 File", "File %1"},
            {"QAbstractFileIconProvider", "Shortcut", "Collegamento"},
            {"QAbstractFileIconProvider", "Alias", "Alias"},
        };
        if (!context || !source)
            return {};
        for (const Text& t : kTexts)
            if (std::strcmp(context, t.context) == 0 && std::strcmp(source, t.source) == 0)
                return QString::fromUtf8(t.italian);
        return {};
    }
};

} // namespace

bool installItalianTranslations(QCoreApplication& app)
{
    auto* translator = new QTranslator(&app);
    const bool qt = translator->load(QStringLiteral("qtbase_it"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    if (qt)
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
    // Installed last, asked first.
    QCoreApplication::installTranslator(new MissingQtTexts(&app));
    return qt;
}

} // namespace siacci
