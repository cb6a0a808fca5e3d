#pragma once

#include "armoury/armoury_document.hpp"
#include "armoury/armoury_session.hpp"
#include "files/careful_read.hpp"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <optional>
#include <string>

// The armoury on disk: its document (armoury_document.hpp) in the user's data folder, read by
// the careful reader and written by the careful writer, so that a crash or a full disk
// mid-write leaves the previous document whole. An exported rifle is the same document holding
// one rifle.
namespace siacci::armoury {

QByteArray toJson(const Armoury& armoury);

using JsonReading = DocumentReading;
JsonReading fromJson(const QByteArray& json);

// Reads and writes a document file (regular files only, bounded; atomically); the reason on
// failure.
JsonReading readDocument(const QString& path);
std::string writeDocument(const QString& path, const Armoury& armoury);

class QtArmouryStore : public ArmouryStorage {
public:
    // The document's file: armeria.json in QStandardPaths::AppDataLocation.
    static QString defaultPath();

    explicit QtArmouryStore(QString path = defaultPath());

    struct Opening {
        Armoury armoury;
        // Empty when the document was read (or there was none yet); else the Italian notice
        // that it could not be read and where it was kept.
        std::string notice;
    };
    // Reads the document at start-up. One that does not read is renamed aside
    // ("armeria.json.illeggibile-2026-12-09-0012"), never overwritten, and the program starts
    // with an empty armoury.
    Opening open(const QDateTime& now = QDateTime::currentDateTime());

    std::string save(const Armoury& armoury) override;
    // Another program (a second window of Siacci) saved the file since this one read or wrote
    // it: its document merged with `next`. A file that changed and no longer reads is set aside
    // as at start-up.
    std::optional<Armoury> mergedWithSaved(const Armoury& next) override;
    const QString& path() const { return m_path; }

private:
    // Sets an unreadable document aside; false when it could not be moved.
    bool setAside(const QDateTime& now, QString& aside);

    QString m_path;
    std::string m_blocked; // why saving is refused this run (an unreadable file stayed in place)
    Armoury m_base;        // the document as last read or written
    FileStamp m_stamp;     // the file as it was then
};

} // namespace siacci::armoury
