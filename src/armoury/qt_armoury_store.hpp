#pragma once

#include "armoury/armoury_json.hpp"
#include "armoury/armoury_session.hpp"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <optional>
#include <string>

// The armoury on disk: one JSON document ("format": "siacci-armeria", "version": 1, the text of
// armoury_json.hpp) in the user's data folder, written with QSaveFile, so that a crash
// mid-write leaves the previous document whole. An exported rifle is the same document holding
// one rifle.
namespace siacci::armoury {

QByteArray toJson(const Armoury& armoury);

// armouryFromJson of the bytes.
JsonReading fromJson(const QByteArray& json);

// Reads and writes a document file (atomically); the reason on failure.
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
    const QString& path() const { return m_path; }

private:
    QString m_path;
    std::string m_blocked; // why saving is refused this run (an unreadable file stayed in place)
};

} // namespace siacci::armoury
