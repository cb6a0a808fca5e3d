#pragma once

#include "common/ports.hpp"

// The "INFO" button: who made the program and how to reach them.
namespace siacci {

inline constexpr const char* kAboutTitle = "Progetto";

// The about box: title "Progetto", the information icon, a single OK, and one line of credits
// with the program's name, version and licence and two contact addresses.
Message aboutMessage();

} // namespace siacci
