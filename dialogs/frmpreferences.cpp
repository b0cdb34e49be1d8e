// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/frmpreferences.h"
#include "ui_frmpreferences.h"

#include "components/fittext.h"
#include "components/guarded.h"
#include "components/helpcontext.h"
#include "components/helpviewer.h"
#include "components/keyfilter.h"
#include "components/messagebox.h"
#include "components/uitext.h"
#include "components/waitcursor.h"
#include "tools/settings.h"
#include "tools/stringtable.h"
#include "tools/zoneplate.h"

#include <QKeyEvent>

#include <algorithm>
#include <exception>
#include <stdexcept>

namespace {

constexpr int kHelpContext = 2100;
constexpr int kMinDigits = 0;
constexpr int kMaxDigits = 10;

bool InRange(int digits)
{
    return digits >= kMinDigits && digits <= kMaxDigits;
}

} // namespace

TFrmPreferences::TFrmPreferences(QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::TFrmPreferences>())
{
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(329, 329);

    // Every control but the rounding box has the dialog's topic; F1 on that box finds the
    // dialog's all the same.
    SetHelpContext(this, kHelpContext);
    for (QWidget *control : std::initializer_list<QWidget *>{
             ui->GroupBox1, ui->rbMm, ui->rbIn, ui->GroupBox2, ui->rbSexagesimal, ui->rbDecimal,
             ui->Label_01, ui->edDigit, ui->UpDown, ui->Label_02, ui->btOk, ui->btCancel})
        SetHelpContext(control, kHelpContext);
    InstallHelpKey(this);

    // The key handler of edDigit: whole numbers only.
    TNumericKeyFilter::Install(ui->edDigit, TNumericKeyFilter::Kind::Integer);
    ui->UpDown->SetAssociate(ui->edDigit);
    ui->UpDown->SetRange(kMinDigits, kMaxDigits);

    ConnectGuarded(ui->edDigit, &QLineEdit::textChanged, this, &TFrmPreferences::edDigitChange);
    ConnectGuarded(ui->btOk, &QPushButton::clicked, this, &TFrmPreferences::btOkClick);
    ConnectGuarded(ui->btCancel, &QPushButton::clicked, this, &TFrmPreferences::btCancelClick);

    FormCreate();
    setFixedSize(FitFormToText(this));
}

TFrmPreferences::~TFrmPreferences() = default;

void TFrmPreferences::FormCreate()
{
    setWindowTitle(u' ' + Str(2000));
    ui->GroupBox1->setTitle(u' ' + Str(2001) + u' ');
    ui->rbMm->setText(Str(2002));
    ui->rbIn->setText(Str(2003));
    ui->GroupBox2->setTitle(u' ' + Str(2010) + u' ');
    ui->rbSexagesimal->setText(Str(2011));
    ui->rbDecimal->setText(Str(2012));
    ui->Label_01->setText(Str(2004));
    ui->Label_02->clear();
    ui->chbExpTimeFormat->setText(u' ' + Str(2007));
    ui->btOk->setText(Str(2050));
    ui->btCancel->setText(Str(2104));

    (tools::MainUnit == 1 ? ui->rbIn : ui->rbMm)->setChecked(true);
    (tools::AngleUnit == 1 ? ui->rbDecimal : ui->rbSexagesimal)->setChecked(true);
    // The arrows hold the number of places within their range and write it into the field.
    ui->UpDown->SetPosition(tools::DecNum);
    ui->chbExpTimeFormat->setChecked(tools::ExpTimeFormat == 1);
}

int TFrmPreferences::DigitValue() const
{
    const std::string text = ToStd(ui->edDigit->text());
    if (const auto value = tools::ParseWholeNumber(text))
        return *value;
    throw std::runtime_error(tools::FormatStr(2008, text));
}

void TFrmPreferences::ShowRangeMessage()
{
    ShowMessage(this, Str(2006));
}

// Checked while typing, so that a wrong number is caught at once; an empty field is allowed
// until OK.
void TFrmPreferences::edDigitChange()
{
    if (ui->edDigit->text().isEmpty())
        return;
    if (!InRange(DigitValue())) {
        ui->edDigit->selectAll();
        ShowRangeMessage();
    }
}

void TFrmPreferences::btOkClick()
{
    if (ui->edDigit->text().isEmpty() || !InRange(DigitValue())) {
        ShowRangeMessage();
        ui->edDigit->setFocus();
        return;
    }
    const int digits = DigitValue();

    hide();
    const WaitCursor hourglass;

    Changes changes;

    // A write that fails stops the writing; what was written is still loaded and followed by
    // the window, and the failure is reported at the end.
    std::exception_ptr failure;
    try {
        if (ui->rbMm->isChecked() && tools::MainUnit == 1) {
            tools::WriteSettingInteger("MainUnit", 0);
            changes |= Change::MainUnit | Change::Lengths;
        } else if (ui->rbIn->isChecked() && tools::MainUnit == 0) {
            tools::WriteSettingInteger("MainUnit", 1);
            changes |= Change::MainUnit | Change::Lengths;
        }

        if (ui->rbSexagesimal->isChecked() && tools::AngleUnit == 1) {
            tools::WriteSettingInteger("AngleUnit", 0);
            changes |= Change::AngleUnit;
        } else if (ui->rbDecimal->isChecked() && tools::AngleUnit == 0) {
            tools::WriteSettingInteger("AngleUnit", 1);
            changes |= Change::AngleUnit;
        }

        if (ui->chbExpTimeFormat->isChecked() && tools::ExpTimeFormat == 0) {
            tools::WriteSettingInteger("ExpTimeFormat", 1);
            changes |= Change::Rounding;
        } else if (!ui->chbExpTimeFormat->isChecked() && tools::ExpTimeFormat == 1) {
            tools::WriteSettingInteger("ExpTimeFormat", 0);
            changes |= Change::Rounding;
        }

        if (digits != tools::DecNum) {
            tools::WriteSettingInteger("DecNum", digits);
            changes |= Change::Lengths;
        }
    } catch (...) {
        failure = std::current_exception();
    }
    try {
        tools::LoadPreferences();
    } catch (...) {
        if (!failure)
            failure = std::current_exception();
    }

    done(Accepted);

    // The window moves its unit lists and has every page that shows what changed follow it.
    if (changes)
        emit PreferencesChanged(changes);

    if (failure)
        std::rethrow_exception(failure);
}

// Redraws the angle diagram that the dialog covered before it goes.
void TFrmPreferences::btCancelClick()
{
    hide();
    emit CalcAngleOfViewRequested();
    reject();
}

// Escape works the Cancel button; the close box only closes (QDialog::closeEvent).
void TFrmPreferences::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        ui->btCancel->click();
        return;
    }
    QDialog::keyPressEvent(event);
}
