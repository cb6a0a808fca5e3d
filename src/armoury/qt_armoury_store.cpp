#include "armoury/qt_armoury_store.hpp"

#include "armoury/armoury_merge.hpp"
#include "files/careful_write.hpp"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace siacci::armoury {

namespace {

QString dataFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

std::filesystem::path fsPath(const QString& path)
{
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

} // namespace

QByteArray toJson(const Armoury& armoury)
{
    return QByteArray::fromStdString(documentJson(armoury));
}

JsonReading fromJson(const QByteArray& json)
{
    return readDocumentJson(std::string_view(json.constData(), static_cast<std::size_t>(json.size())));
}

JsonReading readDocument(const QString& path)
{
    const CarefulReadResult read = readFileCarefully(fsPath(path), kArmouryMaxBytes);
    if (read.status == CarefulReadStatus::TooLarge)
        return {std::nullopt, "il file è troppo grande per essere un'armeria"};
    if (!read)
        return {std::nullopt, "il file non si apre (" + readFailureText(read) + ")"};
    return readDocumentJson(read.bytes);
}

std::string writeDocument(const QString& path, const Armoury& armoury)
{
    const QFileInfo info(path);
    QDir().mkpath(info.absolutePath());
    const CarefulWriteResult written = fileWriter().write(fsPath(path), documentJson(armoury));
    if (!written)
        return "il file \"" + path.toStdString() + "\" non si scrive (" + writeFailureText(written) + ")";
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
    const FileStamp stamp = fileStamp(fsPath(m_path));
    if (!stamp.exists)
        return {};
    JsonReading reading = readDocument(m_path);
    if (reading.armoury) {
        m_base = *reading.armoury;
        m_stamp = stamp;
        return {std::move(*reading.armoury), {}};
    }
    QString aside;
    if (!setAside(now, aside)) {
        // It could not be moved: keep it where it is and never write over it in this run.
        m_blocked = "il documento illeggibile \"" + m_path.toStdString() + "\" non è stato spostato";
        return {{}, "L'armeria non si legge (" + reading.problem + ") e non è stato possibile "
                    "metterla da parte: le modifiche di questa sessione non saranno salvate."};
    }
    return {{}, "L'armeria non si legge (" + reading.problem + "). Il file è stato conservato come \"" +
                    aside.toStdString() + "\"; si parte con un'armeria vuota."};
}

bool QtArmouryStore::setAside(const QDateTime& now, QString& aside)
{
    aside = m_path + ".illeggibile-" + now.toString("yyyy-MM-dd-HHmmss");
    for (int n = 2; QFileInfo::exists(aside); ++n)
        aside = m_path + ".illeggibile-" + now.toString("yyyy-MM-dd-HHmmss") + "-" + QString::number(n);
    return QFile::rename(m_path, aside);
}

std::optional<Armoury> QtArmouryStore::mergedWithSaved(const Armoury& next)
{
    if (!m_blocked.empty())
        return std::nullopt;
    const FileStamp now = fileStamp(fsPath(m_path));
    if (now == m_stamp || !now.exists)
        return std::nullopt;
    JsonReading reading = readDocument(m_path);
    if (!reading.armoury) {
        // Whatever wrote it, it is kept, never written over.
        QString aside;
        if (!setAside(QDateTime::currentDateTime(), aside))
            m_blocked = "il documento \"" + m_path.toStdString() + "\", cambiato da un altro programma, "
                        "non si legge e non è stato spostato";
        return std::nullopt;
    }
    Armoury merged = mergeArmouries(m_base, next, *reading.armoury);
    m_base = std::move(*reading.armoury);
    m_stamp = now;
    return merged;
}

std::string QtArmouryStore::save(const Armoury& armoury)
{
    if (!m_blocked.empty())
        return m_blocked;
    removeStaleTemporaries(fsPath(m_path));
    std::string failure = writeDocument(m_path, armoury);
    if (failure.empty()) {
        m_base = armoury;
        m_stamp = fileStamp(fsPath(m_path));
    }
    return failure;
}

} // namespace siacci::armoury
