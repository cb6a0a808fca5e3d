#pragma once

#include "files/bal_record.hpp"

#include <string>

// The main window as the open and save windows see it.
namespace siacci {

class ShotFileHost {
public:
    virtual ~ShotFileHost() = default;

    // The current shot in the current mode, as it goes into a file:
    // recordFromShot(shot, tableMode).
    virtual BalRecord currentRecord() const = 0;

    // The text of the description field Text10, proposed as the name of a new file.
    virtual std::string descriptionText() const = 0;

    // A file was read (the beep for a failed read has already sounded). The main window applies
    // the fields read (applyRecord: a refused or unreadable file applies nothing), writes the
    // values into its fields as Calcola does, sets the mark that the grid holds rows to clear,
    // then runs italiano, inglese or rscalc by the TableMode, without converting any value.
    virtual void fileOpened(const BalReadResult& result) = 0;

    // The current shot was written to a file: the main window writes the values into its fields
    // as Calcola does.
    virtual void fileSaved() = 0;
};

} // namespace siacci
