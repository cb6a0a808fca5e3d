#include "armoury/qt_armoury_store.hpp"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace siacci::armoury {

namespace {

QString dataFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

} // namespace

QByteArray toJson(const Armoury& armoury)
{
    return QByteArray::fromStdString(armouryToJson(armoury));
}

JsonReading fromJson(const QByteArray& json)
{
    return armouryFromJson(std::string_view(json.constData(), static_cast<std::size_t>(json.size())));
}

JsonReading readDocument(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {std::nullopt, "il file non si apre (" + file.errorString().toStdString() + ")"};
    // An armoury is a few kilobytes; a file far larger is not one.
    constexpr qint64 kLargest = 16 * 1024 * 1024;
    if (file.size() > kLargest)
        return {std::nullopt, "il file è troppo grande per essere un'armeria"};
    return fromJson(file.readAll());
}

std::string writeDocument(const QString& path, const Armoury& armoury)
{
    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        return "\"" + path.toStdString() + "\" non è un file";
    QDir().mkpath(info.absolutePath());
    QSaveFile file(path);
    const QByteArray json = toJson(armoury);
    if (!file.open(QIODevice::WriteOnly) || file.write(json) != json.size() || !file.commit())
        return "il file \"" + path.toStdString() + "\" non si scrive (" + file.errorString().toStdString() + ")";
    return {};
}

QString QtArmouryStore::defaultPath()
{
    return dataFolder() + "/armeria.json";
}

QtArmouryStore::QtArmouryStore(QString path) : m_path(std::move(path))
{
}

QtArmouryStore::Opening QtArmouryStore::open(const QDateTime& now)
{
    if (!QFileInfo::exists(m_path))
        return {};
    JsonReading reading = readDocument(m_path);
    if (reading.armoury)
        return {std::move(*reading.armoury), {}};
    QString aside = m_path + ".illeggibile-" + now.toString("yyyy-MM-dd-HHmmss");
    for (int n = 2; QFileInfo::exists(aside); ++n)
        aside = m_path + ".illeggibile-" + now.toString("yyyy-MM-dd-HHmmss") + "-" + QString::number(n);
    if (!QFile::rename(m_path, aside)) {
        // It could not be moved: keep it where it is and never write over it in this run.
        m_blocked = "il documento illeggibile \"" + m_path.toStdString() + "\" non è stato spostato";
        return {{}, "L'armeria non si legge (" + reading.problem + ") e non è stato possibile "
                    "metterla da parte: le modifiche di questa sessione non saranno salvate."};
    }
    return {{}, "L'armeria non si legge (" + reading.problem + "). Il file è stato conservato come \"" +
                    aside.toStdString() + "\"; si parte con un'armeria vuota."};
}

std::string QtArmouryStore::save(const Armoury& armoury)
{
    if (!m_blocked.empty())
        return m_blocked;
    return writeDocument(m_path, armoury);
}

} // namespace siacci::armoury
