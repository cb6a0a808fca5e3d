#pragma once

#include <QString>

#include <string_view>

// The program's texts (UTF-8 in the core) as Qt strings, for every view.
namespace siacci {

inline QString qs(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A text for a menu item or a button, shown character for character: Qt would hide an "&" and
// make an access key of the next letter (".300 H&H MAGNUM" showed as ".300 HH MAGNUM").
inline QString literalCaption(std::string_view text)
{
    return qs(text).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

} // namespace siacci
