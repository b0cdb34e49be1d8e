// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/pbjustone.h"

#include <QApplication>
#include <QDialog>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

#include <memory>
#include <vector>

#if defined(Q_OS_UNIX)
#include <signal.h>
#include <unistd.h>
#endif

namespace {

// Generous: these limits only keep a broken run from hanging; nothing is timed.
constexpr int kWaitMs = 15000;

// The user the other-user steps run as.
constexpr const char *kNobody = "65534";

} // namespace

class TestPBJustOne : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void startUps_data();
    void startUps();
    void bringsWindowToFront_data();
    void bringsWindowToFront();

private:
    // Each test uses names of its own, so that runs side by side do not meet.
    QString Name(const QString &key) const { return m_prefix + key; }
    QProcess *Start(const QStringList &arguments);
    static QByteArray NextLine(QProcess &process);
    static bool Finished(QProcess &process);
    void Send(const QString &name, const QByteArray &data);

    QString m_prefix;
    int m_testNumber = 0;
    std::vector<std::unique_ptr<QProcess>> m_processes;
};

void TestPBJustOne::init()
{
    m_prefix =
        QString("LumidraTest-%1-%2-").arg(QCoreApplication::applicationPid()).arg(++m_testNumber);
}

void TestPBJustOne::cleanup()
{
    for (auto &process : m_processes) {
        process->kill();
        Finished(*process);
    }
    m_processes.clear();
}

QProcess *TestPBJustOne::Start(const QStringList &arguments)
{
    auto process = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    process->setProcessEnvironment(env);
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process->start(QStringLiteral(JUSTONE_PROBE), arguments);
    if (!process->waitForStarted(kWaitMs))
        return nullptr;
    m_processes.push_back(std::move(process));
    return m_processes.back().get();
}

// Keeps the event loop running while it waits, so that a guard in this process can answer.
QByteArray TestPBJustOne::NextLine(QProcess &process)
{
    (void)QTest::qWaitFor(
        [&] { return process.canReadLine() || process.state() == QProcess::NotRunning; }, kWaitMs);
    return process.readLine().trimmed();
}

// waitForFinished() fails on a process that has already ended.
bool TestPBJustOne::Finished(QProcess &process)
{
    return process.state() == QProcess::NotRunning || process.waitForFinished(kWaitMs);
}

// Talks to the guard of name the way no copy of the program does; the guard must hang up.
void TestPBJustOne::Send(const QString &name, const QByteArray &data)
{
    QLocalSocket socket;
#if defined(Q_OS_LINUX)
    socket.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
#endif
    socket.connectToServer(TPBJustOne(name).SocketName());
    QVERIFY(socket.waitForConnected(kWaitMs));
    socket.write(data);
    socket.flush();
    QVERIFY(socket.state() == QLocalSocket::UnconnectedState ||
            socket.waitForDisconnected(kWaitMs));
    QCOMPARE(socket.readAll(), QByteArray());
}

// Each row is a script of steps:
//   start <key> <line>   start a copy under the name key; its first line must be <line>
//                        (a "second" copy must also end with exit code 0)
//   activated <n>        copy n (counted from 0 in order of start) was asked to the front
//   kill <n>             kill -9 copy n
//   stop <n>             stop copy n (it holds its name but answers nobody)
//   send <key> <what>    connect to the guard of key, send nonsense or a flood of bytes
//   foreign <key> <line> another user asks the guard of key; the probe's answer is <line>
//   squat <key>          another user takes the socket name of key and acknowledges all
void TestPBJustOne::startUps_data()
{
    QTest::addColumn<QStringList>("steps");

    QTest::newRow("second start activates the first") << QStringList{
        "start a first", "start a second", "activated 0", "start a second", "activated 0"};
    QTest::newRow("a killed copy does not stand in the way")
        << QStringList{"start a first", "kill 0", "start a first", "start a second", "activated 1"};
    QTest::newRow("other names do not meet")
        << QStringList{"start a first", "start b first",  "start b second",
                       "activated 1",   "start a second", "activated 0"};
    QTest::newRow("strange requests are dropped") << QStringList{
        "start a first", "send a nonsense", "send a flood", "start a second", "activated 0"};
#if defined(Q_OS_UNIX)
    // A copy that hangs must not stop the next start: that one runs on its own.
    QTest::newRow("a hung copy does not block start-up")
        << QStringList{"start a first", "stop 0", "start a unguarded"};
#endif
#if defined(Q_OS_LINUX)
    // The socket name is open to every user: both ends check who is at the other end.
    QTest::newRow("another user is not answered")
        << QStringList{"start a first", "foreign a refused", "start a second", "activated 0"};
    QTest::newRow("another user's socket is not trusted")
        << QStringList{"squat a", "start a unguarded"};
#endif
}

void TestPBJustOne::startUps()
{
    QFETCH(QStringList, steps);

    for (const QString &step : steps) {
        const QStringList words = step.split(' ');
        QVERIFY2(words.size() >= 2, qPrintable(step));
        const QString &verb = words[0];
        if (verb == "foreign" || verb == "squat") {
#if defined(Q_OS_LINUX)
            if (geteuid() != 0)
                QSKIP("only root can act as another user");
            const QString socket = TPBJustOne(Name(words[1])).SocketName();
            QProcess *process = Start({"--" + verb, kNobody, socket});
            QVERIFY2(process, qPrintable(step));
            QCOMPARE(NextLine(*process),
                     verb == "squat" ? QByteArray("squatting") : words[2].toUtf8());
#endif
        } else if (verb == "start") {
            QProcess *process = Start({Name(words[1])});
            QVERIFY2(process, qPrintable(step));
            QCOMPARE(NextLine(*process), words[2].toUtf8());
            if (words[2] == "second") {
                QVERIFY(Finished(*process));
                QCOMPARE(process->exitStatus(), QProcess::NormalExit);
                QCOMPARE(process->exitCode(), 0);
            }
        } else if (verb == "send") {
            Send(Name(words[1]), words[2] == "flood" ? QByteArray(1000, 'x') : "nonsense\n");
            if (QTest::currentTestFailed())
                return;
        } else {
            const std::size_t index = words[1].toUInt();
            QVERIFY2(index < m_processes.size(), qPrintable(step));
            QProcess &process = *m_processes[index];
            if (verb == "activated") {
                QCOMPARE(NextLine(process), QByteArray("activated"));
            } else if (verb == "kill") {
                process.kill();
                QVERIFY(Finished(process));
#if defined(Q_OS_UNIX)
            } else if (verb == "stop") {
                QCOMPARE(::kill(static_cast<pid_t>(process.processId()), SIGSTOP), 0);
#endif
            } else {
                QFAIL(qPrintable("unknown step: " + step));
            }
        }
    }
}

void TestPBJustOne::bringsWindowToFront_data()
{
    QTest::addColumn<bool>("withDialog");

    QTest::newRow("minimised main window") << false;
    QTest::newRow("open dialog") << true;
}

// This process is the first copy; a probe is the second. The main window, minimised, is
// restored, and the window that comes to the front is its open dialog if it has one.
void TestPBJustOne::bringsWindowToFront()
{
    QFETCH(bool, withDialog);

    TPBJustOne guard(Name("front"));
    QVERIFY(!guard.ActivateOtherInstance());
    QVERIFY(guard.IsListening());

    QWidget mainWindow;
    mainWindow.resize(200, 100);
    guard.SetMainWindow(&mainWindow);
    mainWindow.show();
    QVERIFY(QTest::qWaitForWindowExposed(&mainWindow));
    std::unique_ptr<QDialog> dialog;
    if (withDialog) {
        dialog = std::make_unique<QDialog>(&mainWindow);
        dialog->setWindowModality(Qt::WindowModal);
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
        QCOMPARE(QApplication::activeModalWidget(), dialog.get());
    }
    mainWindow.setWindowState(Qt::WindowMinimized);
    QWidget elsewhere;
    elsewhere.show();
    elsewhere.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&elsewhere));
    QVERIFY(mainWindow.isMinimized());

    QSignalSpy requests(&guard, &TPBJustOne::activationRequested);
    QProcess *second = Start({Name("front")});
    QVERIFY(second);
    QCOMPARE(NextLine(*second), QByteArray("second"));
    QCOMPARE(requests.size(), 1);
    QVERIFY(!mainWindow.isMinimized());
    QWidget *expected = withDialog ? static_cast<QWidget *>(dialog.get()) : &mainWindow;
    QTRY_COMPARE(QApplication::activeWindow(), expected);
}

QTEST_MAIN(TestPBJustOne)
#include "test_pbjustone.moc"
