// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class QLocalServer;
class QLocalSocket;
class QWidget;

// Lets only one copy of the program run per user. The first copy listens on a per-user local
// socket; a later copy finds it there, asks it to come to the front and then ends.
class TPBJustOne : public QObject
{
    Q_OBJECT

public:
    // name: the program's name; the socket name adds the user's id to it.
    explicit TPBJustOne(const QString &name, QObject *parent = nullptr);
    ~TPBJustOne() override;

    // Asks a running copy to come to the front. True when one answered: this copy should then
    // end without showing anything. False when this copy is the first: it then listens for
    // later copies (a socket left behind by a killed copy does not stand in the way).
    bool ActivateOtherInstance();

    // The window that a later start brings to the front (or its open modal dialog).
    void SetMainWindow(QWidget *window) { m_window = window; }

    QString SocketName() const { return m_socketName; }

    // True when this copy listens for later copies. False before ActivateOtherInstance, and
    // when the name is held by a copy that does not answer (this copy then runs unguarded).
    bool IsListening() const;

signals:
    // A later copy asked this one to come to the front (emitted after it was brought there).
    void activationRequested();

private:
    void Listen(bool removeStaleSocket);
    void AcceptConnections();
    void BringToFront();

    QString m_socketName;
    QPointer<QWidget> m_window;
#if defined(Q_OS_LINUX)
    // Linux speaks over a plain socket in the abstract namespace, the very socket QLocalServer
    // would open there, so that the program need not load the Qt network library.
    void ReadRequest(int fd, QByteArray &pending);
    int m_listenFd = -1;
#else
    void ReadRequest(QLocalSocket *socket);
    QLocalServer *m_server = nullptr;
#endif
};
