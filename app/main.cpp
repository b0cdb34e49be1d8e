// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/checkdata.h"
#include "app/cmdline.h"
#include "app/firstframe.h"
#include "app/frmmain.h"
#include "components/appstyle.h"
#include "components/pbjustone.h"
#include "components/pictures.h"
#include "components/uitext.h"

#include <QApplication>
#include <QStandardPaths>

#include <iostream>
#include <optional>

int main(int argc, char *argv[])
{
    const long long mainNs = firstframe::NowNs();

    // Neither the help nor the version needs a display: Qt is not even started.
    if (const std::optional<int> status = AnswerHelpOrVersion(argc, argv, std::cout))
        return *status;

    // Checking the installation needs no display: no window is made.
    if (IsCheckDataRequest(argc, argv)) {
        QCoreApplication core(argc, argv);
        return CheckData(QCoreApplication::applicationDirPath(), std::cout);
    }

    QApplication app(argc, argv);
    // The style Qt picked, with no image plugin loaded before the first frame (appstyle.h).
    QApplication::setStyle(new TAppStyle(QApplication::style()->name()));
    // The name only: a display name would be appended to the title of every window.
    QApplication::setApplicationName(QStringLiteral("Lumidra"));
    // The desktop entry the windows belong to (the menu entry and its icon under Wayland).
    QGuiApplication::setDesktopFileName(QStringLiteral(LUMIDRA_APP_ID));
    QApplication::setWindowIcon(ApplicationIcon());
    // The string table is built into the program; the decimal separator is the locale's.
    InitDecimalSeparator();

    // A second copy brings the first to the front and ends before it touches the settings.
    // A start-up measurement guards under a name of its own: it neither hands over to a copy
    // the user is running nor is handed over to.
    TPBJustOne guard(firstframe::Requested() ? QStringLiteral("Lumidra-first-frame")
                                             : QStringLiteral("Lumidra"));
    if (guard.ActivateOtherInstance())
        return 0;

    // The room of the pages not built at start-up, kept for the next start; with no cache
    // folder to be had, worked out each time.
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    TfrmMain window(nullptr, cache.isEmpty() ? QString() : cache + QStringLiteral("/plan-sizes"));
    guard.SetMainWindow(&window);
    firstframe::ExitAfterFirstFrame(&window, mainNs);
    window.show();
    return app.exec();
}
