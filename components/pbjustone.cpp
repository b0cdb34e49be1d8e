// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/pbjustone.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QWidget>

#if defined(Q_OS_UNIX)
#include <sys/socket.h>
#include <unistd.h>
#endif
#if defined(Q_OS_WIN)
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif

namespace {

// A copy that does not accept within this time is not waited for.
constexpr int kConnectTimeoutMs = 500;
// A copy that accepts but does not answer in time (hung, or stopped) is not waited for
// either: this copy then starts on its own.
constexpr int kAnswerTimeoutMs = 2000;

constexpr char kRequest[] = "activate\n";
constexpr char kAnswer[] = "ok\n";
constexpr qint64 kMaxLine = 64;

QString UserTag()
{
#if defined(Q_OS_UNIX)
    return QString::number(getuid());
#else
    // Pipe names allow only some characters; the hex form of the user name fits them all.
    return QString::fromLatin1(qEnvironmentVariable("USERNAME").toUtf8().toHex());
#endif
}

// Only processes of the same user may talk to each other. On Linux the socket lives in the
// abstract namespace, which has no access rights of its own, so both ends check who is at
// the other end. Elsewhere the server socket is created for the user alone.
bool PeerIsSameUser([[maybe_unused]] const QLocalSocket &socket)
{
#if defined(Q_OS_LINUX)
    ucred cred{};
    socklen_t length = sizeof cred;
    const int fd = static_cast<int>(socket.socketDescriptor());
    if (fd < 0 || getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &cred, &length) != 0 ||
        length != sizeof cred)
        return false;
    return cred.uid == getuid();
#else
    return true;
#endif
}

void Restore(QWidget *window)
{
    if (window->isMinimized())
        window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->raise();
    window->activateWindow();
}

} // namespace

TPBJustOne::TPBJustOne(const QString &name, QObject *parent)
    : QObject(parent), m_socketName(name + QLatin1Char('-') + UserTag())
{}

TPBJustOne::~TPBJustOne()
{
    if (m_server)
        m_server->close();
}

bool TPBJustOne::IsListening() const
{
    return m_server && m_server->isListening();
}

bool TPBJustOne::ActivateOtherInstance()
{
    if (m_server)
        return false;

    QLocalSocket socket;
#if defined(Q_OS_LINUX)
    socket.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
#endif
    socket.connectToServer(m_socketName);
    const bool connected = socket.waitForConnected(kConnectTimeoutMs);
    if (connected && PeerIsSameUser(socket)) {
#if defined(Q_OS_WIN)
        // Windows lets the other copy take the foreground only with this copy's consent.
        AllowSetForegroundWindow(ASFW_ANY);
#endif
        socket.write(kRequest);
        socket.flush();
        QByteArray answer;
        const QDeadlineTimer deadline(kAnswerTimeoutMs);
        while (!answer.contains('\n') && answer.size() < kMaxLine &&
               socket.waitForReadyRead(static_cast<int>(deadline.remainingTime())))
            answer += socket.readAll();
        if (answer == kAnswer)
            return true;
    }
    socket.abort();

    // Nobody answered. A socket file left by a copy that was killed stands in the way of
    // listening where the namespace keeps files; it can go when nobody even accepted.
    Listen(!connected);
    return false;
}

void TPBJustOne::Listen([[maybe_unused]] bool removeStaleSocket)
{
    m_server = new QLocalServer(this);
#if defined(Q_OS_LINUX)
    m_server->setSocketOptions(QLocalServer::AbstractNamespaceOption);
#else
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (removeStaleSocket)
        QLocalServer::removeServer(m_socketName);
#endif
    connect(m_server, &QLocalServer::newConnection, this, &TPBJustOne::AcceptConnections);
    if (!m_server->listen(m_socketName)) {
        // The name is held by a copy that does not answer: run without the guard.
        delete m_server;
        m_server = nullptr;
    }
}

void TPBJustOne::AcceptConnections()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        if (!PeerIsSameUser(*socket)) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { ReadRequest(socket); });
        if (socket->bytesAvailable() > 0)
            ReadRequest(socket);
    }
}

void TPBJustOne::ReadRequest(QLocalSocket *socket)
{
    if (!socket->canReadLine()) {
        if (socket->bytesAvailable() >= kMaxLine) {
            socket->abort();
            socket->deleteLater();
        }
        return;
    }
    if (socket->readLine(kMaxLine) != kRequest) {
        socket->abort();
        socket->deleteLater();
        return;
    }
    BringToFront();
    socket->write(kAnswer);
    socket->disconnectFromServer(); // after the answer has been written
    emit activationRequested();
}

// The window the user last worked in comes to the front: an open modal dialog, else the
// main window; a minimised main window is restored first.
void TPBJustOne::BringToFront()
{
    if (m_window)
        Restore(m_window);
    if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
        return;
    QWidget *modal = QApplication::activeModalWidget();
    if (modal && modal != m_window)
        Restore(modal);
}
