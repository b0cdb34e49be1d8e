// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/uitext.h"

#include "tools/stringtable.h"

#include <QLocale>

namespace {

char g_decimalSeparator = '.';

} // namespace

QString Str(int id)
{
    return FromStd(tools::LoadStr(id));
}

void InitDecimalSeparator()
{
    const QString point = QLocale::system().decimalPoint();
    g_decimalSeparator = point == QLatin1String(",") ? ',' : '.';
}

char DecimalSeparator()
{
    return g_decimalSeparator;
}
