// SPDX-License-Identifier: GPL-3.0-or-later
// The yardstick of the start-up measurement: the least a Qt Widgets program with a main
// window of five tabs costs to start, with the same first-frame probe as lumidra.
#include "app/firstframe.h"

#include <QApplication>
#include <QMainWindow>
#include <QTabWidget>

int main(int argc, char *argv[])
{
    const long long mainNs = firstframe::NowNs();
    QApplication app(argc, argv);
    QMainWindow window;
    auto *tabs = new QTabWidget(&window);
    for (int i = 1; i <= 5; ++i)
        tabs->addTab(new QWidget, QStringLiteral("Tab %1").arg(i));
    window.setCentralWidget(tabs);
    window.resize(536, 420);
    firstframe::ExitAfterFirstFrame(&window, mainNs);
    window.show();
    return app.exec();
}
