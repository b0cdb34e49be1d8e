// SPDX-License-Identifier: GPL-3.0-or-later
// Saving the exposure table through the main window's real save dialog.
#include "exposurefixture.h"

#include "tools/cp1252.h"
#include "tools/exposureexport.h"
#include "tools/numtext.h"
#include "tools/optics.h"
#include "tools/stringtable.h"

#include <QDir>
#include <QFileInfo>

#include <string>

namespace {

QByteArray ReadAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// What the core writes for these inputs: the document the window's save has to match byte
// for byte.
QByteArray ExpectedDocument(int filterIndex, const std::string &fNumber, Film film, int mode)
{
    const char sep = DecimalSeparator();
    const tools::ExposureLabels labels =
        tools::CompleteExposureTimeLabels(tools::StoredExposureTimeLabels(), tools::LoadStr(1811),
                                          tools::LoadStr(1812), tools::LoadStr(1813));
    const QTemporaryDir dir;
    const QString path = dir.filePath("films.dat");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write(TestDatabase());
    file.close();
    const tools::FilmDatabase db = tools::LoadFilmDatabase(path.toStdString());
    const tools::TFilmRecord &record = db.Films.at(static_cast<std::size_t>(film));
    const tools::ExposureTimes times =
        tools::ComputeExposureTimes(tools::TextToNumber(fNumber, sep), &record).Times;
    const std::string factor = tools::ExposureFactorText(fNumber, sep);
    const std::string name = tools::Cp1252ToUtf8(record.Name);

    tools::ExportInputs in;
    in.FNumberText = fNumber;
    in.FactorText = factor;
    in.Reciprocity = true;
    in.FilmName = name;
    in.FilmDBVersion = db.FilmDBVersion;
    in.Labels = &labels;
    in.Times = &times;
    in.Mode = mode;
    in.DecSep = sep;
    const auto document = tools::BuildExposureDocument(tools::ExposureExportKind(filterIndex),
                                                       tools::MakeExportTexts(in));
    return document ? QByteArray::fromStdString(*document) : QByteArray();
}

} // namespace

class TestExposureSave : public QObject, private ExposureFixture
{
    Q_OBJECT

private:
    // A window whose table can be saved: f 100, corrected for the film with the euro sign.
    std::unique_ptr<TfrmMain> ReadyWindow()
    {
        auto w = MakeWindow();
        SetInputs(w.get(), "100", true, Ortho);
        return w;
    }

    static void ClickSave(QWidget *w)
    {
        auto *button = Child<QPushButton>(w, "btSaveExposureTimes");
        QVERIFY(button->isEnabled());
        button->click();
    }

    // The user types name, picks file type index and presses Save. The tests type whole paths:
    // the first dialog opens in the working folder.
    void SaveAs(const QString &name, int index, QString *folderShown = nullptr)
    {
        m_script->OnFileDialog([name, index, folderShown](QFileDialog *dialog) {
            if (folderShown)
                *folderShown = dialog->directory().absolutePath();
            ModalScript::TypeName(dialog, name);
            ModalScript::ChooseType(dialog, index);
            ModalScript::Save(dialog);
        });
    }

    QString SavePath(const QString &name) const { return m_dir->filePath(name); }

    static std::optional<QString> LastDir()
    {
        if (!tools::SettingExists("LastDirExposureTimes"))
            return std::nullopt;
        return QString::fromStdString(tools::ReadSettingString("LastDirExposureTimes"));
    }

private slots:
    void initTestCase() { InitDecimalSeparator(); }
    void init() { StartTest(); }
    void cleanup() { QVERIFY(EndTest()); }

    void fileTypes_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("saved");
        QTest::addColumn<int>("mode");
        QTest::newRow("spreadsheet") << "times" << 1 << "times.xls" << 0;
        QTest::newRow("formatted text") << "times.txt" << 2 << "times.txt" << 1;
        // The extension test is case-sensitive.
        QTest::newRow("tab-delimited") << "times.TXT" << 3 << "times.TXT.txt" << 0;
        // Picking the type after typing the name leaves the name as typed.
        QTest::newRow("CSV") << "data.dat" << 4 << "data.dat.csv" << 1;
    }

    void fileTypes()
    {
        QFETCH(QString, typed);
        QFETCH(int, index);
        QFETCH(QString, saved);
        QFETCH(int, mode);
        auto w = ReadyWindow();
        tools::ExpTimeFormat = mode;
        QStringList filters;
        QString firstType;
        QString nameAfterTypeChosen;
        m_script->OnFileDialog([&](QFileDialog *dialog) {
            filters = dialog->nameFilters();
            firstType = dialog->selectedNameFilter();
            ModalScript::TypeName(dialog, SavePath(typed));
            ModalScript::ChooseType(dialog, index);
            nameAfterTypeChosen = ModalScript::NameField(dialog)->text();
            ModalScript::Save(dialog);
        });
        ClickSave(w.get());
        QCOMPARE(firstType, filters.value(0)); // the first save starts on the first type
        QCOMPARE(nameAfterTypeChosen, SavePath(typed));
        QCOMPARE(filters,
                 QStringList({"Microsoft Excel (*.xls)", "formatted text (space delimited) (*.txt)",
                              "text (tab delimited) (*.txt)", "CSV (comma delimited) (*.csv)"}));
        const QByteArray written = ReadAll(SavePath(saved));
        QVERIFY(!written.isEmpty());
        QCOMPARE(written, ExpectedDocument(index, "100", Ortho, mode));
        QVERIFY(written.contains("Ortho \x80")); // the film's name in Windows-1252
        QCOMPARE(LastDir(), std::optional(QDir::toNativeSeparators(m_dir->path())));
    }

    // The next save offers the folder, the name and the file type chosen last.
    void secondSaveOffersTheLastChoice()
    {
        auto w = ReadyWindow();
        SaveAs(SavePath("times"), 3);
        ClickSave(w.get());
        QString folder;
        QString name;
        QString type;
        m_script->OnFileDialog([&](QFileDialog *dialog) {
            folder = dialog->directory().absolutePath();
            name = ModalScript::NameField(dialog)->text();
            type = dialog->selectedNameFilter();
            dialog->reject();
        });
        ClickSave(w.get());
        QCOMPARE(folder, QDir(m_dir->path()).absolutePath());
        QCOMPARE(name, QString("times"));
        QCOMPARE(type, QString("text (tab delimited) (*.txt)"));
    }

    void replaceQuestion_data()
    {
        QTest::addColumn<int>("answer");
        QTest::newRow("no: back to the dialog") << int(QMessageBox::No);
        QTest::newRow("yes: replaced") << int(QMessageBox::Yes);
    }

    void replaceQuestion()
    {
        QFETCH(int, answer);
        auto w = ReadyWindow();
        const QString path = SavePath("times.csv");
        {
            QFile old(path);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("old");
        }
        // Typed without the extension: the question is asked for the completed name.
        SaveAs(SavePath("times"), 4);
        m_script->Answer(QMessageBox::StandardButton(answer));
        QString nameKept;
        bool stillOpen = false;
        if (answer == QMessageBox::No) {
            m_script->OnFileDialog([&](QFileDialog *dialog) {
                nameKept = ModalScript::NameField(dialog)->text();
                stillOpen = dialog->isVisible();
                dialog->reject();
            });
        }
        ClickSave(w.get());

        QCOMPARE(m_script->Messages().size(), 1);
        const ModalScript::Message question = m_script->Messages().first();
        QCOMPARE(question.title, QString("Lumidra"));
        QCOMPARE(question.text,
                 "File " + QDir::toNativeSeparators(path) + " already exists. Replace?");
        QCOMPARE(question.icon, QMessageBox::NoIcon);
        QCOMPARE(question.buttons, QMessageBox::Yes | QMessageBox::No);
        if (answer == QMessageBox::No) {
            QVERIFY(stillOpen);
            QCOMPARE(nameKept, SavePath("times"));
            QCOMPARE(ReadAll(path), QByteArray("old"));
            QCOMPARE(LastDir(), std::nullopt); // cancelled in the end
        } else {
            QCOMPARE(ReadAll(path), ExpectedDocument(4, "100", Ortho, tools::ExpTimeFormat));
        }
    }

    // The folder the name lies in is a regular file: nothing can be written there.
    // A save that fails (here: a folder stands where the file goes, and the user agreed to
    // replace it) is reported with the path.
    void failedSave()
    {
        auto w = ReadyWindow();
        const QString path = SavePath("times.xls");
        QVERIFY(QDir().mkpath(path));
        SaveAs(SavePath("times"), 1);
        m_script->Answer(QMessageBox::Yes);
        m_script->Answer();
        ClickSave(w.get());
        QCOMPARE(m_script->Messages().size(), 2);
        const ModalScript::Message shown = m_script->Messages().last();
        QCOMPARE(shown.title, QString("Lumidra"));
        QCOMPARE(shown.text, "File " + QDir::toNativeSeparators(path) +
                                 " cannot be saved. Make sure the disk is not full, "
                                 "write-protected or that the file is not currently in use.");
        QCOMPARE(shown.icon, QMessageBox::NoIcon);
        QVERIFY(QFileInfo(path).isDir());
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::NoDotAndDotDot),
                 QStringList({"films.dat", "settings.reg"}));
        // Remembered all the same.
        QCOMPARE(LastDir(), std::optional(QDir::toNativeSeparators(m_dir->path())));
    }

    // A name in a folder that does not exist keeps the save dialog open with a message; the
    // user corrects the name and saves.
    void missingFolderKeepsTheDialogOpen_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::newRow("folder missing") << "missing/times";
        QTest::newRow("a file in the folder's place") << "blocker/times";
    }

    void missingFolderKeepsTheDialogOpen()
    {
        QFETCH(QString, typed);
        auto w = ReadyWindow();
        {
            QFile blocker(SavePath("blocker"));
            QVERIFY(blocker.open(QIODevice::WriteOnly));
        }
        SaveAs(SavePath(typed), 1);
        m_script->Answer();
        SaveAs(SavePath("times"), 1);
        ClickSave(w.get());
        QCOMPARE(m_script->Messages().size(), 1);
        const QString folder = QFileInfo(SavePath(typed)).absolutePath();
        QCOMPARE(m_script->Messages().first().text,
                 "The folder " + QDir::toNativeSeparators(folder) +
                     " does not exist. Check the name, or choose a folder that exists.");
        QCOMPARE(m_script->Messages().first().title, QString("Lumidra"));
        QVERIFY(QFileInfo(SavePath("times.xls")).isFile());
        QVERIFY(QFileInfo(SavePath("blocker")).isFile());
        QVERIFY(!QFileInfo::exists(SavePath("missing")));
    }

    void rememberedFolder_data()
    {
        QTest::addColumn<bool>("exists");
        QTest::newRow("an existing folder is offered") << true;
        QTest::newRow("a folder that is gone is not") << false;
    }

    void rememberedFolder()
    {
        QFETCH(bool, exists);
        auto w = ReadyWindow();
        const QString folder = SavePath("remembered");
        if (exists)
            QVERIFY(QDir().mkdir(folder));
        tools::WriteSettingString("LastDirExposureTimes", folder.toStdString());
        QString shown;
        m_script->OnFileDialog([&](QFileDialog *dialog) {
            shown = dialog->directory().absolutePath();
            dialog->reject();
        });
        ClickSave(w.get());
        QCOMPARE(shown == folder, exists);
        QCOMPARE(LastDir(), std::optional(folder)); // a cancelled save changes nothing
    }

    void cancelledSave()
    {
        auto w = ReadyWindow();
        m_script->OnFileDialog([](QFileDialog *dialog) { dialog->reject(); });
        ClickSave(w.get());
        QCOMPARE(LastDir(), std::nullopt);
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::NoDotAndDotDot),
                 QStringList({"films.dat"}));
    }
};

QTEST_MAIN(TestExposureSave)
#include "test_exposuresave.moc"
