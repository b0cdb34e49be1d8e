// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/frmconvert.h"
#include "ui_frmconvert.h"

#include "components/guarded.h"
#include "components/helpcontext.h"
#include "components/helpviewer.h"
#include "components/keyfilter.h"
#include "components/uitext.h"
#include "tools/numtext.h"

#include <QKeyEvent>

#include <optional>

namespace {

constexpr int kHelpContext = 2200;

// Millimetres per unit, for the factors below.
constexpr double kMmPerCm = 10;
constexpr double kMmPerInch = 25.4;
constexpr double kCmPerInch = 2.54;

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
        connect(field, &QLineEdit::textChanged, this,
                [this, handler] { Guarded(this, [this, handler] { (this->*handler)(); }); });
    connect(ui->btCancel, &QPushButton::clicked, this,
            [this] { Guarded(this, [this] { btCancelClick(); }); });

    FormCreate();
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
    Convert(ui->edMm, {ui->edCm, kMmPerCm, Divide}, {ui->edIn, kMmPerInch, Divide});
}

void TFrmConvert::edCmChange()
{
    Convert(ui->edCm, {ui->edMm, kMmPerCm, Multiply}, {ui->edIn, kCmPerInch, Divide});
}

void TFrmConvert::edInChange()
{
    Convert(ui->edIn, {ui->edMm, kMmPerInch, Multiply}, {ui->edCm, kCmPerInch, Multiply});
}

// Only the field the user types in converts: the texts written into the other two fields do
// not convert back.
void TFrmConvert::Convert(QLineEdit *field, Target first, Target second)
{
    if (!field->hasFocus())
        return;
    const char decSep = DecimalSeparator();
    // Strict: a text that is no number empties the other fields rather than counting as 0.
    const auto value =
        field->text().isEmpty() ? std::nullopt : tools::ParseDecimal(ToStd(field->text()), decSep);
    for (const Target &target : {first, second}) {
        if (!value) {
            target.field->clear();
            continue;
        }
        // Divided rather than multiplied by a reciprocal, which would be off in the last bit.
        const double result = target.op == Divide ? *value / target.factor : *value * target.factor;
        target.field->setText(FromStd(tools::GeneralNumberText(result, decSep)));
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
