// SPDX-License-Identifier: GPL-3.0-or-later
// `lumidra --check-data`: where the program finds its film database and help document, beside
// the executable or in the installation's data folder, and what it says when one is missing,
// damaged or empty. Also the window icon built into the program.
#include "app/checkdata.h"
#include "app/cmdline.h"
#include "components/pictures.h"
#include "tools/datadirs.h"
#include "tools/films.h"

#include <QDir>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <optional>
#include <sstream>

namespace {

// Where a test puts a data file: beside the executable, in the installation's data folder, or
// nowhere.
enum class Place
{
    None,
    Beside,
    Installed,
    Both,
};

// What a test puts there: the film database of the build, a database cut short, one with its
// version record only, the help document, an empty file.
enum class Content
{
    Films,
    DamagedFilms,
    NoFilms,
    Help,
    Empty,
};

QByteArray Bytes(Content content)
{
    switch (content) {
    case Content::Films: {
        QFile real(QStringLiteral(LUMIDRA_FILMS_DAT));
        return real.open(QIODevice::ReadOnly) ? real.readAll() : QByteArray();
    }
    case Content::DamagedFilms:
        return QByteArray("short");
    case Content::NoFilms:
        return QByteArray(int(tools::kFilmRecordSize), '\0');
    case Content::Help:
        return QByteArray("<html><body><a name=\"contents\"></a>Help</body></html>");
    case Content::Empty:
        return {};
    }
    return {};
}

bool Put(const QString &dir, const char *name, Content content)
{
    if (!QDir().mkpath(dir))
        return false;
    QFile file(QDir(dir).filePath(QString::fromLatin1(name)));
    return file.open(QIODevice::WriteOnly) && file.write(Bytes(content)) == Bytes(content).size() &&
           file.flush();
}

std::size_t RealFilmCount()
{
    return tools::LoadFilmDatabase(LUMIDRA_FILMS_DAT).Films.size();
}

} // namespace

class TestCheckData : public QObject
{
    Q_OBJECT

private slots:
    void ReportsWhereTheDataIs_data();
    void ReportsWhereTheDataIs();
    void RecognisesTheOption();
    void WindowIconHasEverySizeAWindowShows();
    void AnswersHelpAndVersion();
    void HelpAndVersionNeedNoDisplay_data();
    void HelpAndVersionNeedNoDisplay();
};

void TestCheckData::ReportsWhereTheDataIs_data()
{
    QTest::addColumn<Place>("filmsAt");
    QTest::addColumn<Content>("films");
    QTest::addColumn<Place>("helpAt");
    QTest::addColumn<Content>("help");
    QTest::addColumn<int>("status");
    // Each expected line, with <bin> and <data> standing for the two folders.
    QTest::addColumn<QString>("filmsLine");
    QTest::addColumn<QString>("helpLine");

    const QString count = QString::number(RealFilmCount());
    const QString filmsBeside = QStringLiteral("films.dat: <bin>/films.dat (%1 films)").arg(count);
    const QString filmsInstalled =
        QStringLiteral("films.dat: <data>/films.dat (%1 films)").arg(count);
    const QString helpBeside = QStringLiteral("lumi.html: <bin>/lumi.html");
    const QString helpInstalled = QStringLiteral("lumi.html: <data>/lumi.html");

    QTest::newRow("beside the executable") << Place::Beside << Content::Films << Place::Beside
                                           << Content::Help << 0 << filmsBeside << helpBeside;
    QTest::newRow("installed") << Place::Installed << Content::Films << Place::Installed
                               << Content::Help << 0 << filmsInstalled << helpInstalled;
    QTest::newRow("one each") << Place::Beside << Content::Films << Place::Installed
                              << Content::Help << 0 << filmsBeside << helpInstalled;
    QTest::newRow("beside comes first") << Place::Both << Content::Films << Place::Both
                                        << Content::Help << 0 << filmsBeside << helpBeside;
    QTest::newRow("missing")
        << Place::None << Content::Films << Place::None << Content::Help << 1
        << QStringLiteral("films.dat: missing (looked for <bin>/films.dat, <data>/films.dat)")
        << QStringLiteral("lumi.html: missing (looked for <bin>/lumi.html, <data>/lumi.html)");
    QTest::newRow("help missing") << Place::Installed << Content::Films << Place::None
                                  << Content::Help << 1 << filmsInstalled
                                  << QStringLiteral(
                                         "lumi.html: missing (looked for <bin>/lumi.html, "
                                         "<data>/lumi.html)");
    QTest::newRow("damaged database")
        << Place::Installed << Content::DamagedFilms << Place::Installed << Content::Help << 1
        << QStringLiteral("films.dat: <data>/films.dat cannot be read") << helpInstalled;
    QTest::newRow("database without films")
        << Place::Beside << Content::NoFilms << Place::Beside << Content::Help << 1
        << QStringLiteral("films.dat: <bin>/films.dat holds no films") << helpBeside;
    QTest::newRow("empty help") << Place::Beside << Content::Films << Place::Installed
                                << Content::Empty << 1 << filmsBeside
                                << QStringLiteral("lumi.html: <data>/lumi.html cannot be read");
}

void TestCheckData::ReportsWhereTheDataIs()
{
    QFETCH(Place, filmsAt);
    QFETCH(Content, films);
    QFETCH(Place, helpAt);
    QFETCH(Content, help);
    QFETCH(int, status);
    QFETCH(QString, filmsLine);
    QFETCH(QString, helpLine);

    QTemporaryDir root;
    QVERIFY(root.isValid());
    const QString bin = root.filePath(QStringLiteral("prefix/bin"));
    const QString data = QDir::cleanPath(
        bin + u'/' + QString::fromStdString(std::string(tools::InstalledDataDirFromBin())));
    QVERIFY(QDir().mkpath(bin));
    const auto place = [&](Place at, const char *name, Content content) {
        bool ok = true;
        if (at == Place::Beside || at == Place::Both)
            ok = ok && Put(bin, name, content);
        if (at == Place::Installed || at == Place::Both)
            ok = ok && Put(data, name, content);
        return ok;
    };
    QVERIFY(place(filmsAt, "films.dat", films));
    QVERIFY(place(helpAt, "lumi.html", help));

    std::ostringstream out;
    QCOMPARE(CheckData(bin, out), status);
    QString expected = filmsLine + u'\n' + helpLine + u'\n';
    expected.replace(QStringLiteral("<bin>"), bin).replace(QStringLiteral("<data>"), data);
    QCOMPARE(QString::fromStdString(out.str()), expected);
}

void TestCheckData::RecognisesTheOption()
{
    struct Case
    {
        std::vector<const char *> argv;
        bool request;
    };
    const Case cases[] = {
        {{"lumidra", "--check-data"}, true},
        {{"lumidra"}, false},
        {{"lumidra", "--check"}, false},
        {{"lumidra", "--check-data", "extra"}, false},
        {{"lumidra", "file", "--check-data"}, false},
    };
    for (const Case &c : cases)
        QCOMPARE(IsCheckDataRequest(int(c.argv.size()), c.argv.data()), c.request);
}

void TestCheckData::WindowIconHasEverySizeAWindowShows()
{
    // The sizes the icon is told, and the pictures it reads for them: a file whose name says
    // another size than it has would be scaled into a blur.
    const QIcon icon = ApplicationIcon();
    const QList<QSize> sizes = icon.availableSizes();
    QCOMPARE(sizes.size(), 7); // 256 pixels is left to the icon theme
    for (int size : {16, 22, 24, 32, 48, 64, 128}) {
        const QSize expected(size, size);
        QVERIFY2(sizes.contains(expected), qPrintable(QString::number(size)));
        const QImage drawn = icon.pixmap(expected).toImage();
        QCOMPARE(drawn.size(), expected);
        QCOMPARE(drawn, QImage(QStringLiteral(":/icons/org.example.Lumidra-%1.png").arg(size))
                            .convertToFormat(drawn.format()));
    }
}

// --help and --version anywhere among the arguments answer at once; anything else is left to
// the window.
void TestCheckData::AnswersHelpAndVersion()
{
    struct Case
    {
        std::vector<const char *> argv;
        std::optional<int> status;
        const char *starts; // the first line printed
    };
    const Case cases[] = {
        {{"lumidra", "--help"}, 0, "Usage: lumidra [OPTION]..."},
        {{"lumidra", "-h"}, 0, "Usage: lumidra [OPTION]..."},
        {{"lumidra", "--version"}, 0, "Lumidra 2.0"},
        {{"lumidra", "-platform", "xcb", "--help"}, 0, "Usage: lumidra [OPTION]..."},
        {{"lumidra"}, std::nullopt, ""},
        {{"lumidra", "--check-data"}, std::nullopt, ""},
        {{"lumidra", "--helpful"}, std::nullopt, ""},
    };
    for (const Case &c : cases) {
        std::ostringstream out;
        const std::optional<int> status =
            AnswerHelpOrVersion(int(c.argv.size()), c.argv.data(), out);
        QCOMPARE(status, c.status);
        const std::string first = out.str().substr(0, out.str().find('\n'));
        QCOMPARE(QString::fromStdString(first), QString::fromLatin1(c.starts));
    }
}

// The program itself, with no display to be found: the answers come and the status is 0.
void TestCheckData::HelpAndVersionNeedNoDisplay_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("starts");
    QTest::newRow("help") << "--help"
                          << "Usage: lumidra [OPTION]...\n";
    QTest::newRow("version") << "--version"
                             << "Lumidra 2.0\n";
}

void TestCheckData::HelpAndVersionNeedNoDisplay()
{
    QFETCH(QString, option);
    QFETCH(QString, starts);
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(LUMIDRA_EXE), {option});
    QVERIFY(program.waitForFinished(30000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
    QVERIFY(QString::fromUtf8(program.readAllStandardOutput()).startsWith(starts));
}

QTEST_MAIN(TestCheckData)
#include "test_checkdata.moc"
