#pragma once

#include "armoury/armoury.hpp"

#include <functional>
#include <map>
#include <optional>
#include <string>

// The armoury as the running program holds it: one document shared by the window "ARMERIA" and
// the range card, saved after every change through a port (qt_armoury_store.hpp on disk, a
// recording fake in the tests).
namespace siacci::armoury {

class ArmouryStorage {
public:
    virtual ~ArmouryStorage() = default;
    // Writes the whole document atomically; empty when written, else why not, in Italian.
    virtual std::string save(const Armoury& armoury) = 0;
    // Called before each save: when another program saved the document since this one last
    // read or wrote it, `next` merged with what is there now (armoury_merge.hpp); else nullopt.
    virtual std::optional<Armoury> mergedWithSaved(const Armoury& next) { (void)next; return std::nullopt; }
};

class ArmourySession {
public:
    ArmourySession(Armoury initial, ArmouryStorage& storage);

    const Armoury& armoury() const { return m_armoury; }

    // Takes an edited document and saves it. A document that is not sound is refused and the
    // one held stays; a failed save keeps the change for this run. The rifles another program
    // saved meanwhile are merged in first, so the document held afterwards has them too. Empty when saved, else the
    // Italian message for the user.
    std::string change(Armoury next);

    // Called after every accepted change (the windows that show the armoury refresh).
    int subscribe(std::function<void()> listener);
    void unsubscribe(int id);

private:
    Armoury m_armoury;
    ArmouryStorage& m_storage;
    std::map<int, std::function<void()>> m_listeners;
    int m_nextId = 1;
};

} // namespace siacci::armoury
