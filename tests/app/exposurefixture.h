// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The main window on a film database, a settings store and a folder of the test's own, with
// the helpers the exposure tab's tests share.

#include "app/frmmain.h"
#include "components/enhcombo.h"
#include "components/stringaligngrid.h"
#include "components/uitext.h"
#include "modalscript.h"
#include "tests/app/windowpages.h"
#include "tests/support/filmrecord.h"
#include "tools/settings.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <optional>

// One record of films.dat (testsupport::FilmRecord).
inline QByteArray Record(const QByteArray &name, const QByteArray &formula = {}, double minTime = 0,
                         double maxTime = 0)
{
    return QByteArray::fromStdString(
        testsupport::FilmRecord(name.toStdString(), formula.toStdString(), minTime, maxTime));
}

// The films of the test database by their place in the list.
enum Film
{
    Steady,    // t unchanged from 1 s on; the model holds up to 1.5 s, so rows 12-18 are red
    Double,    // t doubled from 1 s on
    Broken,    // exponent notation breaks the formula rules
    SteadyToo, // Steady's name, but tripling: choosing it still gives Steady's times
    Ortho,     // a euro sign in the name (byte 0x80 in Windows-1252); never corrected
};

inline QByteArray TestDatabase()
{
    return Record("Test 1.0") + Record("Steady", "+0+1", 1, 1.5) +
           Record("Double", "+0+2", 1, 1000) + Record("Broken", "+1.5E-3", 0, 1000) +
           Record("Steady", "+0+3", 0, 1000) + Record("Ortho \x80", "+0+1", 1000, 2000);
}

// The rows' metered times at f 22, which are also the resulting times at f 22.
inline const QStringList kTimesAtF22 = {"1/1000", "1/500", "1/250", "1/125", "1/60", "1/30",
                                        "1/15",   "1/8",   "1/4",   "1/2",   "1 s",  "2 s",
                                        "4 s",    "8 s",   "15 s",  "30 s",  "1 m",  "2 m"};

// A text with a decimal point, written with the locale's separator.
inline QString Local(QString text)
{
    return text.replace(u'.', QChar(DecimalSeparator()));
}

class ExposureFixture
{
protected:
    // Every modal window a test meets has to be one it expects: StartTest from init(),
    // EndTest from cleanup().
    void StartTest() { m_script = std::make_unique<ModalScript>(); }
    bool EndTest()
    {
        TfrmMain::SetFilmDatabasePaths({});
        const bool clean = m_script->Unexpected().isEmpty() && m_script->Done();
        if (!clean)
            qWarning() << "modal windows not expected:" << m_script->Unexpected();
        m_script.reset();
        return clean;
    }

    // A window on a new settings store and folder, with the preferences in memory at their
    // defaults, reading database (none: no film database at all).
    std::unique_ptr<TfrmMain> MakeWindow(std::optional<QByteArray> database = TestDatabase())
    {
        m_dir = std::make_unique<QTemporaryDir>();
        qputenv("LUMIDRA_SETTINGS", m_dir->filePath("settings.reg").toLocal8Bit());
        tools::DecNum = 3;
        tools::MainUnit = 0;
        tools::AngleUnit = 0;
        tools::ExpTimeFormat = 1;
        const QString path = m_dir->filePath("films.dat");
        if (database) {
            QFile file(path);
            if (file.open(QIODevice::WriteOnly))
                file.write(*database);
        }
        TfrmMain::SetFilmDatabasePaths({path.toStdString()});
        return MakeBuiltWindow();
    }

    template <typename T> static T *Child(const QWidget *window, const char *name)
    {
        return window->findChild<T *>(QString::fromLatin1(name));
    }

    static TStringAlignGrid *Grid(const QWidget *w)
    {
        return Child<TStringAlignGrid>(w, "sgridExposureTimes");
    }

    // The tab's inputs set as the user would: the f number typed, the check box clicked if it
    // has to change, a film picked.
    static void SetInputs(QWidget *w, const QString &fNumber, bool reciprocity, int film = -1)
    {
        auto *field = Child<QLineEdit>(w, "edFnumber5");
        field->clear();
        QTest::keyClicks(field, fNumber);
        auto *box = Child<QCheckBox>(w, "chbReciprocity");
        if (box->isChecked() != reciprocity)
            box->click();
        if (film >= 0)
            Child<TEnhCombo>(w, "cbFilmName")->setCurrentIndex(film);
    }

    static void Calculate(QWidget *w)
    {
        auto *button = Child<QPushButton>(w, "btCalculate5");
        QVERIFY(button->isEnabled());
        button->click();
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ModalScript> m_script;
};
