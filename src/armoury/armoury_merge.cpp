#include "armoury/armoury_merge.hpp"

namespace siacci::armoury {

namespace {

const Rifle* named(const Armoury& armoury, const std::string& name)
{
    const auto i = findRifle(armoury, name);
    return i ? &armoury.rifles[*i] : nullptr;
}

} // namespace

Armoury mergeArmouries(const Armoury& base, const Armoury& mine, const Armoury& theirs)
{
    Armoury merged;
    std::vector<Rifle> alsoTheirs; // the other's version of a rifle both changed
    for (const Rifle& m : mine.rifles) {
        const Rifle* b = named(base, m.name);
        const Rifle* t = named(theirs, m.name);
        if (!t) {
            // Removed there: gone unless this program changed it (or made it anew).
            if (!(b && *b == m))
                merged.rifles.push_back(m);
        } else if (*t == m || (b && *b == *t)) {
            merged.rifles.push_back(m);
        } else if (b && *b == m) {
            merged.rifles.push_back(*t);
        } else {
            merged.rifles.push_back(m);
            alsoTheirs.push_back(*t);
        }
    }
    for (const Rifle& t : theirs.rifles) {
        if (named(mine, t.name))
            continue;
        const Rifle* b = named(base, t.name);
        // New there, or changed there while removed here: kept.
        if (!b || !(*b == t))
            alsoTheirs.push_back(t);
    }
    for (Rifle& t : alsoTheirs)
        addRifle(merged, std::move(t));
    return merged;
}

} // namespace siacci::armoury
