// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/frmmain.h"
#include "components/pbjustone.h"
#include "components/uitext.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // The name only: a display name would be appended to the title of every window.
    QApplication::setApplicationName(QStringLiteral("Lumidra"));
    // The string table is built into the program; the decimal separator is the locale's.
    InitDecimalSeparator();

    // A second copy brings the first to the front and ends before it touches the settings.
    TPBJustOne guard(QStringLiteral("Lumidra"));
    if (guard.ActivateOtherInstance())
        return 0;

    TfrmMain window;
    guard.SetMainWindow(&window);
    window.CreateConvertDialog();
    window.CreateCustomConstantDialog();
    window.show();
    return app.exec();
}
