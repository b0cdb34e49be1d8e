// SPDX-License-Identifier: GPL-3.0-or-later
// A stand-in for the program's start-up, used by the single-instance test: run with a name,
// it prints "second" and ends when a copy of that name already runs; otherwise it prints
// "first" (or "unguarded" when it could not take the name) and stays, printing "activated"
// each time a later copy asks it to come to the front.
#include "components/pbjustone.h"

#include <QApplication>
#include <QWidget>

#include <cstdio>

namespace {

void Say(const char *line)
{
    std::fputs(line, stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc < 2)
        return 2;
    TPBJustOne guard(QString::fromLocal8Bit(argv[1]));
    if (guard.ActivateOtherInstance()) {
        Say("second");
        return 0;
    }
    QWidget window;
    guard.SetMainWindow(&window);
    QObject::connect(&guard, &TPBJustOne::activationRequested, [] { Say("activated"); });
    Say(guard.IsListening() ? "first" : "unguarded");
    return app.exec();
}
