// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/frmconvert.h"
#include "ui_frmconvert.h"

#include "components/fittext.h"
#include "components/guarded.h"
#include "components/helpcontext.h"
#include "components/helpviewer.h"
#include "components/keyfilter.h"
#include "components/uitext.h"
#include "tools/numtext.h"
#include "tools/unitconvert.h"

#include <QKeyEvent>

#include <cmath>
#include <optional>
#include <utility>

namespace {

constexpr int kHelpContext = 2200;

} // namespace

TFrmConvert::TFrmConvert(QWidget *parent) : QDialog(parent), ui(std::make_unique<Ui::TFrmConvert>())
{
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(235, 169);
    setModal(false);

    SetHelpContext(this, kHelpContext);
    for (QWidget *control : findChildren<QWidget *>())
        SetHelpContext(control, kHelpContext);
    InstallHelpKey(this);

    for (QLineEdit *field : {ui->edMm, ui->edCm, ui->edIn})
        TNumericKeyFilter::Install(field, TNumericKeyFilter::Kind::Decimal);

    const std::pair<QLineEdit *, void (TFrmConvert::*)()> handlers[] = {
        {ui->edMm, &TFrmConvert::edMmChange},
        {ui->edCm, &TFrmConvert::edCmChange},
        {ui->edIn, &TFrmConvert::edInChange},
    };
    for (const auto &[field, handler] : handlers)
        ConnectGuarded(field, &QLineEdit::textChanged, this, handler);
    ConnectGuarded(ui->btCancel, &QPushButton::clicked, this, &TFrmConvert::btCancelClick);

    FormCreate();
    setFixedSize(FitFormToText(this));
}

TFrmConvert::~TFrmConvert() = default;

void TFrmConvert::FormCreate()
{
    setWindowTitle(u' ' + Str(2200));
    ui->Label_01->setText(Str(2201));
    ui->Label_02->setText(Str(2202));
    ui->Label_03->setText(Str(2204));
    ui->btCancel->setText(Str(2104));
}

void TFrmConvert::ShowOrRaise()
{
    if (isMinimized())
        showNormal();
    else
        show();
    raise();
    activateWindow();
}

void TFrmConvert::edMmChange()
{
    Convert(ui->edMm, "mm");
}

void TFrmConvert::edCmChange()
{
    Convert(ui->edCm, "cm");
}

void TFrmConvert::edInChange()
{
    Convert(ui->edIn, "in");
}

// Only the field the user types in converts: the texts written into the other two fields do
// not convert back.
void TFrmConvert::Convert(QLineEdit *field, const char *unit)
{
    if (!field->hasFocus())
        return;
    const char decSep = DecimalSeparator();
    // Strict: a text that is no number empties the other fields rather than counting as 0.
    const std::optional<tools::LengthInUnits> length =
        tools::ConvertLength(ToStd(field->text()), unit, decSep);
    const std::pair<QLineEdit *, double> results[] = {
        {ui->edMm, length ? length->mm : 0},
        {ui->edCm, length ? length->cm : 0},
        {ui->edIn, length ? length->in : 0},
    };
    for (const auto &[target, value] : results) {
        if (target == field)
            continue;
        // A length too large for a double in the other unit has no text either.
        target->setText(length && std::isfinite(value)
                            ? FromStd(tools::GeneralNumberText(value, decSep))
                            : QString());
    }
}

void TFrmConvert::btCancelClick()
{
    hide();
    emit CalcAngleOfViewRequested();
}

// Escape works the Cancel button; the close box only hides the tool (QDialog::closeEvent).
void TFrmConvert::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        ui->btCancel->click();
        return;
    }
    QDialog::keyPressEvent(event);
}
