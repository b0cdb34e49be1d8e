// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/pbjustone.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QWidget>

#if defined(Q_OS_LINUX)
#include <QFile>
#include <QSocketNotifier>

#include <cerrno>
#include <cstddef>
#include <cstring>
#include <memory>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#else
#include <QLocalServer>
#include <QLocalSocket>
#endif
#if defined(Q_OS_UNIX)
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
#if defined(Q_OS_LINUX)
bool PeerIsSameUser(int fd)
{
    ucred cred{};
    socklen_t length = sizeof cred;
    if (fd < 0 || getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &cred, &length) != 0 ||
        length != sizeof cred)
        return false;
    return cred.uid == getuid();
}

// The address QLocalServer and QLocalSocket use for a name in the abstract namespace: a zero
// byte, then the name's bytes, counted exactly (no padding). False for a name too long.
bool AbstractAddress(const QString &name, sockaddr_un &address, socklen_t &length)
{
    const QByteArray bytes = QFile::encodeName(name);
    address = {};
    address.sun_family = AF_UNIX;
    if (bytes.isEmpty() || static_cast<std::size_t>(bytes.size()) >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path + 1, bytes.constData(), static_cast<std::size_t>(bytes.size()));
    length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + bytes.size());
    return true;
}

// Closes fd when it goes out of scope.
class FdCloser
{
public:
    explicit FdCloser(int fd) : m_fd(fd) {}
    ~FdCloser()
    {
        if (m_fd >= 0)
            close(m_fd);
    }
    FdCloser(const FdCloser &) = delete;
    FdCloser &operator=(const FdCloser &) = delete;

private:
    int m_fd;
};

// Waits until fd can be read (or written) or the deadline has passed.
bool WaitFor(int fd, short events, const QDeadlineTimer &deadline)
{
    for (;;) {
        pollfd entry{fd, events, 0};
        const int ms = static_cast<int>(deadline.remainingTime());
        const int ready = poll(&entry, 1, ms < 0 ? 0 : ms);
        if (ready > 0)
            return true;
        if (ready == 0 || errno != EINTR)
            return false;
    }
}

// Connects to the abstract socket name within the time given. A full backlog (EAGAIN) is
// tried again, as QLocalSocket does; a name nobody listens on fails at once.
bool ConnectWithin(int fd, const QString &name, int timeoutMs)
{
    sockaddr_un address;
    socklen_t length = 0;
    if (!AbstractAddress(name, address, length))
        return false;
    const QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        if (connect(fd, reinterpret_cast<const sockaddr *>(&address), length) == 0)
            return true;
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN || deadline.hasExpired())
            return false;
        pollfd none{-1, 0, 0};
        poll(&none, 1, 5);
    }
}
#else
bool PeerIsSameUser(const QLocalSocket &)
{
    return true;
}
#endif

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

#if defined(Q_OS_LINUX)
TPBJustOne::~TPBJustOne()
{
    // The listening socket and the connections still open; a connection that has been hung
    // up is closed already and its notifier switched off. Each notifier is switched off
    // before its descriptor is closed, so that none watches a closed descriptor.
    for (QSocketNotifier *notifier : findChildren<QSocketNotifier *>()) {
        if (notifier->isEnabled()) {
            notifier->setEnabled(false);
            close(static_cast<int>(notifier->socket()));
        }
    }
}

bool TPBJustOne::IsListening() const
{
    return m_listenFd >= 0;
}

bool TPBJustOne::ActivateOtherInstance()
{
    if (m_listenFd >= 0)
        return false;

    bool connected = false;
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd >= 0) {
        const FdCloser closer(fd);
        connected = ConnectWithin(fd, m_socketName, kConnectTimeoutMs);
        if (connected && PeerIsSameUser(fd)) {
            const QDeadlineTimer deadline(kAnswerTimeoutMs);
            std::size_t sent = 0;
            const std::size_t total = sizeof kRequest - 1;
            while (sent < total && WaitFor(fd, POLLOUT, deadline)) {
                const ssize_t n = send(fd, kRequest + sent, total - sent, MSG_NOSIGNAL);
                if (n < 0 && errno != EINTR && errno != EAGAIN)
                    break;
                if (n > 0)
                    sent += static_cast<std::size_t>(n);
            }
            QByteArray answer;
            while (sent == total && !answer.contains('\n') && answer.size() < kMaxLine &&
                   WaitFor(fd, POLLIN, deadline)) {
                char buffer[kMaxLine];
                const ssize_t n = recv(fd, buffer, sizeof buffer, 0);
                if (n == 0 || (n < 0 && errno != EINTR && errno != EAGAIN))
                    break;
                if (n > 0)
                    answer.append(buffer, n);
            }
            if (answer == kAnswer)
                return true;
        }
    }

    // Nobody answered. In the abstract namespace a killed copy leaves nothing behind.
    Listen(!connected);
    return false;
}

void TPBJustOne::Listen(bool /*removeStaleSocket*/)
{
    sockaddr_un address;
    socklen_t length = 0;
    if (!AbstractAddress(m_socketName, address, length))
        return;
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return;
    if (bind(fd, reinterpret_cast<const sockaddr *>(&address), length) != 0 ||
        listen(fd, 50) != 0) {
        // The name is held by a copy that does not answer: run without the guard.
        close(fd);
        return;
    }
    m_listenFd = fd;
    auto *notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &TPBJustOne::AcceptConnections);
}

void TPBJustOne::AcceptConnections()
{
    for (;;) {
        const int fd = accept4(m_listenFd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        if (!PeerIsSameUser(fd)) {
            close(fd);
            continue;
        }
        // The request may come in pieces: what has come so far waits beside the notifier.
        auto *notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
        auto pending = std::make_shared<QByteArray>();
        connect(notifier, &QSocketNotifier::activated, this,
                [this, fd, pending] { ReadRequest(fd, *pending); });
        ReadRequest(fd, *pending);
    }
}

// Reads what has arrived on the connection fd. One line is expected, the request; anything
// else, a line too long, or the other end hanging up ends the connection.
void TPBJustOne::ReadRequest(int fd, QByteArray &pending)
{
    const auto hangUp = [this, fd] {
        for (QSocketNotifier *notifier : findChildren<QSocketNotifier *>()) {
            if (notifier->socket() == fd && fd != m_listenFd) {
                notifier->setEnabled(false);
                notifier->deleteLater();
            }
        }
        close(fd);
    };
    for (;;) {
        char buffer[kMaxLine];
        const ssize_t n = recv(fd, buffer, sizeof buffer, 0);
        if (n > 0) {
            pending.append(buffer, n);
            if (pending.contains('\n') || pending.size() >= kMaxLine)
                break;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EAGAIN)
            return; // more is to come
        hangUp();   // the other end is gone
        return;
    }
    // The first line, as QIODevice::readLine(kMaxLine) takes it: up to and including the line
    // end, at most kMaxLine - 1 bytes.
    const qsizetype end = pending.indexOf('\n');
    if (end < 0 || end + 1 >= kMaxLine || pending.left(end + 1) != kRequest) {
        hangUp();
        return;
    }
    BringToFront();
    // The answer is three bytes on a fresh connection: the socket buffer takes them at once,
    // and they are delivered although the connection is closed right after.
    (void)send(fd, kAnswer, sizeof kAnswer - 1, MSG_NOSIGNAL);
    hangUp();
    emit activationRequested();
}

#else
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

void TPBJustOne::Listen(bool removeStaleSocket)
{
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (removeStaleSocket)
        QLocalServer::removeServer(m_socketName);
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

#endif

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
