// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <string>
#include <string_view>

// The bridge between the windows and the core: texts from the string table as QString, and
// the decimal separator of the user's locale, read once at start-up.
QString Str(int id);

// Reads the decimal separator from the system locale (QLocale). Called once at start-up;
// tests call it again after changing the locale. A separator other than '.' or ',' falls back
// to '.' (the core reads and prints single-byte separators).
void InitDecimalSeparator();
char DecimalSeparator();

inline std::string ToStd(const QString &s)
{
    return s.toStdString();
}
inline QString FromStd(std::string_view s)
{
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}
