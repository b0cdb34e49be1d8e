// SPDX-License-Identifier: GPL-3.0-or-later
// Fills each tab of the main window with a typical example and saves a picture of it, for the
// README. Run headless: QT_QPA_PLATFORM=offscreen take_screenshots OUTDIR

#include "app/frmmain.h"
#include "components/uitext.h"
#include "dialogs/frmfilmedit.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>

namespace {

struct FieldValue
{
    const char *field;
    const char *text; // '.' stands for the locale's decimal separator
};

struct Shot
{
    int page;
    const char *file;
    std::initializer_list<FieldValue> fields;
    const char *film;   // chosen in the film list, or nullptr
    const char *button; // pressed after the fields are filled, or nullptr
};

const Shot kShots[] = {
    {0,
     "tab-diameter.png",
     {{"edPinholeDiameter1", "0.3"}, {"edImageDistance1", "50"}},
     nullptr,
     nullptr},
    {1, "tab-exposure.png", {{"edFnumber5", "250"}}, "Ilford HP5 Plus", "btCalculate5"},
    {2,
     "tab-angle.png",
     {{"edFormatA", "24"}, {"edFormatB", "36"}, {"edImageDistance2", "25"}},
     nullptr,
     nullptr},
    {3,
     "tab-magnification.png",
     {{"edObjectdistance", "2000"}, {"edImageDistance3", "50"}, {"edObjectSize", "1800"}},
     nullptr,
     nullptr},
    {4,
     "tab-zoneplate.png",
     {{"edNumZones", "15"}, {"edImageDistance4", "150"}},
     nullptr,
     "btCalculate"},
};

QString Localised(const char *text)
{
    QString s = QString::fromUtf8(text);
    s.replace(QLatin1Char('.'), QLatin1Char(DecimalSeparator()));
    return s;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fputs("usage: take_screenshots OUTDIR\n", stderr);
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    QTemporaryDir settings;
    qputenv("LUMIDRA_SETTINGS", settings.filePath(QStringLiteral("settings.reg")).toLocal8Bit());
    InitDecimalSeparator();

    TfrmMain window;
    window.show();
    auto *pages = window.findChild<QTabWidget *>(QStringLiteral("PageControl"));
    for (const Shot &shot : kShots) {
        pages->setCurrentIndex(shot.page);
        for (const FieldValue &f : shot.fields)
            window.findChild<QLineEdit *>(QString::fromUtf8(f.field))->setText(Localised(f.text));
        if (shot.film) {
            auto *films = window.findChild<QComboBox *>(QStringLiteral("cbFilmName"));
            const int index = films->findText(QString::fromUtf8(shot.film));
            if (index < 0) {
                std::fprintf(stderr, "no film %s in the film database\n", shot.film);
                return 1;
            }
            films->setCurrentIndex(index);
        }
        if (shot.button)
            window.findChild<QPushButton *>(QString::fromUtf8(shot.button))->click();
        // No text cursor blinking in the picture.
        pages->setFocus();
        app.processEvents();
        const QString path = out.filePath(QString::fromUtf8(shot.file));
        if (!window.grab().save(path)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
    }

    // The dialog of a film of one's own, as a photographer enters Tri-X from his own tests.
    tools::FilmInput trix;
    trix.Name = "Kodak Tri-X 400 (own test)";
    trix.PowerLaw = false;
    trix.Pairs = {{"1", "2"}, {"10", "50"}, {"100", "1200"}};
    TFrmFilmEdit dialog(trix, {}, [](const tools::OwnFilm &) { return true; }, &window);
    dialog.show();
    while (dialog.FitPending()) {
        app.processEvents();
        QThread::msleep(10);
    }
    dialog.findChild<QWidget *>(QStringLiteral("btCancel"))->setFocus();
    app.processEvents();
    const QString path = out.filePath(QStringLiteral("dialog-film.png"));
    if (!dialog.grab().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return 1;
    }
    return 0;
}
