// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/firstframe.h"
#include "app/frmmain.h"
#include "components/pbjustone.h"
#include "components/uitext.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    const long long mainNs = firstframe::NowNs();
    QApplication app(argc, argv);
    // The name only: a display name would be appended to the title of every window.
    QApplication::setApplicationName(QStringLiteral("Lumidra"));
    // The string table is built into the program; the decimal separator is the locale's.
    InitDecimalSeparator();

    // A second copy brings the first to the front and ends before it touches the settings.
    // A start-up measurement guards under a name of its own: it neither hands over to a copy
    // the user is running nor is handed over to.
    TPBJustOne guard(firstframe::Requested() ? QStringLiteral("Lumidra-first-frame")
                                             : QStringLiteral("Lumidra"));
    if (guard.ActivateOtherInstance())
        return 0;

    TfrmMain window;
    guard.SetMainWindow(&window);
    window.CreateConvertDialog();
    window.CreateCustomConstantDialog();
    firstframe::ExitAfterFirstFrame(&window, mainNs);
    window.show();
    return app.exec();
}
