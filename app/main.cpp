// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/checkdata.h"
#include "app/frmmain.h"
#include "components/pbjustone.h"
#include "components/pictures.h"
#include "components/uitext.h"

#include <QApplication>

#include <iostream>

int main(int argc, char *argv[])
{
    // Checking the installation needs no display: no window is made.
    if (IsCheckDataRequest(argc, argv)) {
        QCoreApplication core(argc, argv);
        return CheckData(QCoreApplication::applicationDirPath(), std::cout);
    }

    QApplication app(argc, argv);
    // The name only: a display name would be appended to the title of every window.
    QApplication::setApplicationName(QStringLiteral("Lumidra"));
    // The desktop entry the windows belong to (the menu entry and its icon under Wayland).
    QGuiApplication::setDesktopFileName(QStringLiteral(LUMIDRA_APP_ID));
    QApplication::setWindowIcon(ApplicationIcon());
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
