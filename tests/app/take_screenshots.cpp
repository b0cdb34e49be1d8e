// SPDX-License-Identifier: GPL-3.0-or-later
// Fills each tab of the main window with a typical example and saves a picture of it, for the
// README. Run headless: QT_QPA_PLATFORM=offscreen take_screenshots OUTDIR [FAMILY POINTS]
// The font is DejaVu Sans 9 pt (Qt's default on a Debian desktop) unless given. With
// --dialogs after the font, the dialogs are saved as well (dialog-*.png), to look at.

#include "app/frmmain.h"
#include "components/uitext.h"
#include "dialogs/frmabout.h"
#include "dialogs/frmconvert.h"
#include "dialogs/frmcreatezp.h"
#include "dialogs/frmcustomconstant.h"
#include "dialogs/frmfilmedit.h"
#include "dialogs/frmpreferences.h"

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

// The dialogs as they open over the window.
bool SaveDialogs(TfrmMain &window, const QDir &out)
{
    TZonePlateInputs plate;
    plate.zoneCount = 15;
    TFrmAbout about(QStringLiteral("2024-06"), &window);
    TFrmPreferences options(&window);
    auto *createPdf = new TFrmCreateZP(plate, &window);
    createPdf->setAttribute(Qt::WA_DeleteOnClose, false);
    const std::pair<QWidget *, const char *> shots[] = {
        {&about, "dialog-about.png"},
        {&options, "dialog-options.png"},
        {window.ConvertDialog(), "dialog-convert.png"},
        {window.CustomConstantDialog(), "dialog-userconstant.png"},
        {createPdf, "dialog-createpdf.png"},
    };
    bool saved = true;
    for (const auto &[dialog, file] : shots) {
        if (dialog == nullptr)
            continue;
        dialog->show();
        QApplication::processEvents();
        saved = dialog->grab().save(out.filePath(QString::fromUtf8(file))) && saved;
        dialog->hide();
    }
    delete createPdf;
    return saved;
}

// The dialog of a film of one's own, as a photographer enters Tri-X from his own tests, with
// its formula fitted (for the README).
bool SaveFilmDialog(TfrmMain &window, const QDir &out)
{
    tools::FilmInput trix;
    trix.Name = "Kodak Tri-X 400 (own test)";
    trix.PowerLaw = false;
    trix.Pairs = {{"1", "2"}, {"10", "50"}, {"100", "1200"}};
    TFrmFilmEdit dialog(
        trix, {}, [](const tools::OwnFilm &) { return true; }, &window);
    dialog.show();
    while (dialog.FitPending()) {
        QApplication::processEvents();
        QThread::msleep(10);
    }
    dialog.findChild<QWidget *>(QStringLiteral("btCancel"))->setFocus();
    QApplication::processEvents();
    const QString path = out.filePath(QStringLiteral("dialog-film.png"));
    if (!dialog.grab().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc != 2 && argc != 4 && argc != 5) {
        std::fputs("usage: take_screenshots OUTDIR [FAMILY POINTS [--dialogs]]\n", stderr);
        return 2;
    }
    QFont font(QStringLiteral("DejaVu Sans"), 9);
    if (argc >= 4)
        font = QFont(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]).toInt());
    if (QFontInfo(font).family() != font.family()) {
        std::fprintf(stderr, "the font %s is not installed\n", qPrintable(font.family()));
        return 1;
    }
    QApplication::setFont(font);
    const bool dialogs = argc == 5 && QByteArray(argv[4]) == "--dialogs";
    const QDir out(QString::fromLocal8Bit(argv[1]));
    QTemporaryDir settings;
    qputenv("LUMIDRA_SETTINGS", settings.filePath(QStringLiteral("settings.reg")).toLocal8Bit());
    InitDecimalSeparator();

    TfrmMain window;
    window.CreateConvertDialog();
    window.CreateCustomConstantDialog();
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
    if (!SaveFilmDialog(window, out))
        return 1;
    if (dialogs && !SaveDialogs(window, out))
        return 1;
    return 0;
}
