// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/frmcustomconstant.h"
#include "ui_frmcustomconstant.h"

#include "components/constantlist.h"
#include "components/fittext.h"
#include "components/guarded.h"
#include "components/keyfilter.h"
#include "components/messagebox.h"
#include "components/uitext.h"
#include "tools/settings.h"

#include <exception>

namespace {

constexpr int kCaption = 2300;
constexpr int kLabel = 2301;
constexpr int kOk = 2050;
constexpr int kCancel = 2104;

// The stored constant of target's list; a value that is missing or cannot be read is no
// constant at all, and the dialog then opens empty.
double StoredConstant(tools::ConstantTarget target)
{
    try {
        return tools::ReadSettingFloat(tools::ConstantSettingName(target));
    } catch (const std::exception &) {
        return -1;
    }
}

} // namespace

TFrmCustomConstant::TFrmCustomConstant(QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::TFrmCustomConstant>())
{
    ui->setupUi(this);
    // A fixed dialog border: no resizing, no minimise or maximise box, no help button.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

    ConnectGuarded(ui->btOk, &QPushButton::clicked, this, &TFrmCustomConstant::btOkClick);
    ConnectGuarded(ui->btCancel, &QPushButton::clicked, this, &TFrmCustomConstant::btCancelClick);

    FormCreate();
    setFixedSize(FitFormToText(this));
}

TFrmCustomConstant::~TFrmCustomConstant() = default;

void TFrmCustomConstant::FormCreate()
{
    setWindowTitle(u' ' + Str(kCaption));
    ui->Label_01->setText(Str(kLabel));
    ui->btOk->setText(Str(kOk));
    ui->btCancel->setText(Str(kCancel));
    ui->edConstant->setAccessibleName(Str(kLabel));
    // The field's key handler: only what keeps its text a decimal number gets through.
    TNumericKeyFilter::Install(ui->edConstant, TNumericKeyFilter::Kind::Decimal);
}

void TFrmCustomConstant::Execute(TConstantList *list)
{
    m_list = list;
    m_target = list->Target();
    exec();
    m_list = nullptr;
}

void TFrmCustomConstant::showEvent(QShowEvent *event)
{
    // Centred on the main window at every opening, wherever either was moved since. Done
    // here, before the window appears, because only now is the size of its frame known.
    if (const QWidget *owner = parentWidget()) {
        QRect frame = frameGeometry();
        frame.moveCenter(owner->frameGeometry().center());
        move(frame.topLeft());
    }
    QDialog::showEvent(event);
    Guarded(this, [this] { FormShow(); });
}

void TFrmCustomConstant::FormShow()
{
    const std::string text =
        tools::UserConstantFieldText(StoredConstant(m_target), DecimalSeparator());
    ui->edConstant->setText(FromStd(text));
    // Typing replaces the value shown.
    ui->edConstant->setFocus();
    ui->edConstant->selectAll();
}

void TFrmCustomConstant::btOkClick()
{
    const tools::UserConstantInput input =
        tools::ParseUserConstant(ToStd(ui->edConstant->text()), DecimalSeparator());
    if (input.kind == tools::UserConstantInput::Kind::Refused) {
        ShowMessage(this, FromStd(input.message));
        ui->edConstant->setFocus();
        ui->edConstant->selectAll();
        return;
    }

    const double value = input.value;
    // Stored first: should the store fail, the message tells so and nothing else has changed.
    tools::WriteSettingFloat(tools::ConstantSettingName(m_target), value);
    if (m_list != nullptr) {
        if (value > 0) {
            m_list->Fill(true);
            m_list->SetRemembered(m_list->currentIndex());
        } else {
            m_list->SetRemembered(tools::kRayleighIndex);
            m_list->Fill(false);
        }
    }
    emit ConstantStored(m_target, value);
    accept();
}

void TFrmCustomConstant::reject()
{
    Guarded(this, [this] { btCancelClick(); });
}

void TFrmCustomConstant::btCancelClick()
{
    QDialog::reject();
    // The list still shows the action entry that opened the dialog.
    if (m_list != nullptr)
        m_list->Select(m_list->Remembered());
}
