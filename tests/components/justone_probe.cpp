// SPDX-License-Identifier: GPL-3.0-or-later
// A stand-in for the program's start-up, used by the single-instance test.
//   justone_probe <name>
//       prints "second" and ends when a copy of that name already runs; otherwise prints
//       "first" (or "unguarded" when it could not take the name) and stays, printing
//       "activated" each time a later copy asks it to come to the front.
//   justone_probe --foreign <uid> <socket>      (Linux, run as root)
//       as user uid, asks the guard listening on the full socket name to come to the front;
//       prints "answered" or "refused".
//   justone_probe --squat <uid> <socket>        (Linux, run as root)
//       as user uid, takes the full socket name and acknowledges every request; prints
//       "squatting" and stays.
#include "components/pbjustone.h"

#include <QApplication>
#include <QLocalServer>
#include <QLocalSocket>
#include <QWidget>

#include <cstdio>
#include <cstring>

#if defined(Q_OS_LINUX)
#include <unistd.h>
#endif

namespace {

constexpr int kWaitMs = 10000;

void Say(const char *line)
{
    std::fputs(line, stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

int StartUp(int argc, char *argv[])
{
    QApplication app(argc, argv);
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

#if defined(Q_OS_LINUX)
bool BecomeUser(const char *uidText)
{
    bool ok = false;
    const uint uid = QByteArray(uidText).toUInt(&ok);
    return ok && setgid(uid) == 0 && setuid(uid) == 0;
}

int Foreign(const QString &socketName)
{
    QLocalSocket socket;
    socket.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
    socket.connectToServer(socketName);
    if (!socket.waitForConnected(kWaitMs)) {
        Say("unreachable");
        return 1;
    }
    socket.write("activate\n");
    socket.flush();
    QByteArray answer;
    while (socket.waitForReadyRead(kWaitMs))
        answer += socket.readAll();
    Say(answer.isEmpty() ? "refused" : "answered");
    return 0;
}

int Squat(QCoreApplication &app, const QString &socketName)
{
    QLocalServer server;
    server.setSocketOptions(QLocalServer::AbstractNamespaceOption);
    if (!server.listen(socketName)) {
        Say("busy");
        return 1;
    }
    QObject::connect(&server, &QLocalServer::newConnection, [&server] {
        while (QLocalSocket *socket = server.nextPendingConnection()) {
            QObject::connect(socket, &QLocalSocket::readyRead, socket, [socket] {
                socket->readAll();
                socket->write("ok\n");
                socket->flush();
            });
        }
    });
    Say("squatting");
    return app.exec();
}
#endif

} // namespace

int main(int argc, char *argv[])
{
    if (argc == 2)
        return StartUp(argc, argv);
#if defined(Q_OS_LINUX)
    if (argc == 4 &&
        (std::strcmp(argv[1], "--foreign") == 0 || std::strcmp(argv[1], "--squat") == 0)) {
        if (!BecomeUser(argv[2]))
            return 3;
        QCoreApplication app(argc, argv);
        const QString socketName = QString::fromLocal8Bit(argv[3]);
        return argv[1][2] == 'f' ? Foreign(socketName) : Squat(app, socketName);
    }
#endif
    return 2;
}
