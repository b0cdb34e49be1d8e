// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/frmabout.h"
#include "ui_frmabout.h"

#include "components/fittext.h"
#include "components/guarded.h"
#include "components/helpcontext.h"
#include "components/helpviewer.h"
#include "components/pictures.h"
#include "components/uitext.h"

#include <QDesktopServices>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QUrl>

#include <algorithm>
#include <utility>

namespace {

constexpr int kHelpContext = 1000;

LinkOpener &Opener()
{
    static LinkOpener opener;
    return opener;
}

void OpenLink(const QString &address)
{
    if (const LinkOpener &opener = Opener()) {
        opener(address);
        return;
    }
    QDesktopServices::openUrl(QUrl(address));
}

} // namespace

LinkOpener SetLinkOpener(LinkOpener opener)
{
    return std::exchange(Opener(), std::move(opener));
}

TFrmAbout::TFrmAbout(const QString &filmDBVersion, QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::TFrmAbout>())
{
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(291, 169);

    SetHelpContext(this, kHelpContext);
    for (QWidget *control : findChildren<QWidget *>())
        SetHelpContext(control, kHelpContext);
    InstallHelpKey(this);

    // The pinhole camera: 16 by 16 pixels, sharper on screens of a higher pixel density.
    ui->Image1->setPixmap(Picture(QStringLiteral("camera"), devicePixelRatioF()));

    // Links as the desktop shows them: underlined, in the highlight colour, with a hand.
    for (QLabel *link : {ui->lbUrl, ui->lbEmail}) {
        QFont font = link->font();
        font.setUnderline(true);
        link->setFont(font);
        QPalette palette = link->palette();
        palette.setColor(QPalette::WindowText, palette.color(QPalette::Highlight));
        link->setPalette(palette);
        link->setCursor(Qt::PointingHandCursor);
        link->installEventFilter(this);
    }
    ConnectGuarded(ui->btCancel, &QPushButton::clicked, this, &TFrmAbout::btCancelClick);

    FormCreate(filmDBVersion);
}

TFrmAbout::~TFrmAbout() = default;

void TFrmAbout::FormCreate(const QString &filmDBVersion)
{
    setWindowTitle(u' ' + Str(2100));
    ui->Label_01->setText(Str(1));
    ui->Label_02->setText(Str(3));
    ui->Label_03->setText(Str(4));
    ui->btCancel->setText(Str(2050));
    ui->lbUrl->setText(Str(5));
    ui->lbEmail->setText(Str(6));
    ui->lbFilmDBVersion->setText(filmDBVersion.isEmpty() ? Str(1817)
                                                         : Str(1816) + u' ' + filmDBVersion);
    FitTexts();
}

// The texts are never cut: the box grows when a text (a long database version, an address,
// a translation, a large font) needs more room.
void TFrmAbout::FitTexts()
{
    setFixedSize(FitFormToText(this));
}

void TFrmAbout::lbUrlClick()
{
    OpenLink(Str(5));
}

void TFrmAbout::lbEmailClick()
{
    OpenLink(QStringLiteral("Mailto:") + Str(6));
}

void TFrmAbout::btCancelClick()
{
    hide();
    emit CalcAngleOfViewRequested();
    accept();
}

bool TFrmAbout::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        if (watched == ui->lbUrl) {
            Guarded(this, [this] { lbUrlClick(); });
            return true;
        }
        if (watched == ui->lbEmail) {
            Guarded(this, [this] { lbEmailClick(); });
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

// Escape works the OK button, which is also the cancel button.
void TFrmAbout::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        ui->btCancel->click();
        return;
    }
    QDialog::keyPressEvent(event);
}
