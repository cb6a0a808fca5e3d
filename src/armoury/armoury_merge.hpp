#pragma once

#include "armoury/armoury.hpp"

// Two programs, one armoury. Each running program saves the whole document after every change;
// when another program saved the file since this one read it, the two documents are merged
// before the save instead of one silently undoing the other.
//
// The policy is a merge, not a question: saves happen after every edit, without the user asking
// for them, so a question would interrupt him at any keystroke, and he could not judge it
// without seeing both documents. A merge rifle by rifle (a rifle with its loads is the unit;
// names are unique) loses nothing of either side:
// - a rifle only one side changed, added or removed takes that side's change;
// - a rifle both sides changed differently (or both added under one name) is kept twice: this
//   program's under its name, the other's as "name (2)", for the user to choose in ARMERIA;
// - a rifle one side removed and the other changed is kept, changed.
namespace siacci::armoury {

// `base`: the document as this program last read or wrote it; `mine`: what it is about to save;
// `theirs`: what is on disk now. This program's order first, the other's new rifles after.
Armoury mergeArmouries(const Armoury& base, const Armoury& mine, const Armoury& theirs);

} // namespace siacci::armoury
