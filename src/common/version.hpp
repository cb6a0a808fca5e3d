#pragma once

// The program's version, written here and nowhere else: CMakeLists.txt reads it for the project
// and the Debian package, scripts/build_web asks the built module for it (siacci-cli --version)
// for the page and its offline cache, and the about box, the PDF files and siacci-cli show it.
#define SIACCI_VERSION "1.1.0"

namespace siacci {

inline constexpr const char* kVersion = SIACCI_VERSION;
// The name and version, as the about box and the creator of the PDF files give them.
inline constexpr const char* kProgramAndVersion = "Siacci " SIACCI_VERSION;

} // namespace siacci
