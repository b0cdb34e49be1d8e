// SPDX-License-Identifier: GPL-3.0-or-later
// The pinhole diameter and focal length tab, and the two constant lists.
#include "app/frmmain.h"
#include "ui_frmmain.h"

#include "components/pictures.h"
#include "components/uitext.h"
#include "dialogs/frmcustomconstant.h"
#include "tools/optics.h"
#include "tools/settings.h"
#include "tools/stringtable.h"

#include <exception>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>

namespace {

// The position to go back to in list: the remembered one, or the Lord Rayleigh entry should
// that not hold a number, since every calculation reads the number of the entry shown.
int NumericEntry(const QComboBox *list, int remembered)
{
    const bool numeric =
        remembered >= 0 && remembered < list->count() &&
        tools::ConstantFromEntry(ToStd(list->itemText(remembered)), DecimalSeparator());
    return numeric ? remembered : tools::kRayleighIndex;
}

} // namespace

void TfrmMain::WireDiameterTab()
{
    const std::pair<QLineEdit *, Handler> fields[] = {
        {ui->edPinholeDiameter1, &TfrmMain::edPinholeDiameter1Change},
        {ui->edImageDistance1, &TfrmMain::edImageDistance1Change},
        {ui->edWave1, &TfrmMain::edWave1Change},
    };
    for (const auto &[field, handler] : fields)
        Wire(field, &QLineEdit::textChanged, handler);

    const std::pair<QComboBox *, Handler> units[] = {
        {ui->cbUnits1, &TfrmMain::cbUnits1Change},
        {ui->cbUnits2, &TfrmMain::cbUnits2Change},
        {ui->cbUnits3, &TfrmMain::cbUnits3Change},
        {ui->cbUnits4, &TfrmMain::cbUnits4Change},
    };
    for (const auto &[list, handler] : units)
        Wire(list, &QComboBox::currentIndexChanged, handler);

    // Only the user's choice: selecting an entry in code must not recalculate.
    Wire(ui->cbConstant1, &QComboBox::activated, &TfrmMain::cbConstant1Change);
}

void TfrmMain::edPinholeDiameter1Change()
{
    CalcOptimalFocalLength();
    CalcFNumber();
    CalcExposureFactor();
}

void TfrmMain::cbUnits1Change()
{
    edPinholeDiameter1Change();
}

void TfrmMain::edImageDistance1Change()
{
    CalcOptimalDiameter();
    CalcFNumber();
    CalcExposureFactor();
}

void TfrmMain::cbUnits2Change()
{
    edImageDistance1Change();
}

void TfrmMain::edWave1Change()
{
    CalcOptimalDiameter();
    CalcOptimalFocalLength();
}

void TfrmMain::cbUnits3Change()
{
    CalcOptimalFocalLength();
}

void TfrmMain::cbUnits4Change()
{
    CalcOptimalDiameter();
}

void TfrmMain::cbConstant1Enter()
{
    PrevConstantIndex1 = ui->cbConstant1->currentIndex();
}

void TfrmMain::cbConstant1Change()
{
    ConstantListChange(DiameterConstant);
}

void TfrmMain::ConstantListChange(tools::ConstantTarget target)
{
    QComboBox *list = ConstantList(target);
    // The separator is never left selected: back to the entry shown before.
    if (tools::IsSeparatorEntry(ToStd(list->currentText())))
        SelectConstantListIndex(target, NumericEntry(list, PrevConstantIndex(target)));

    if (tools::IsActionEntry(ToStd(list->currentText()))) {
        // The dialog decides what the list shows afterwards. Without it the list goes back,
        // so that it never rests on the action entry.
        if (FrmCustomConstant != nullptr)
            FrmCustomConstant->Execute(target);
        else
            SelectConstantListIndex(target, NumericEntry(list, PrevConstantIndex(target)));
        return;
    }

    SetPrevConstantIndex(target, list->currentIndex());
    if (target == DiameterConstant) {
        CalcOptimalFocalLength();
        CalcOptimalDiameter();
    } else {
        ResetZonePlateTab();
    }
}

void TfrmMain::CreateCustomConstantDialog()
{
    if (FrmCustomConstant == nullptr)
        FrmCustomConstant = new TFrmCustomConstant(this, this);
}

QComboBox *TfrmMain::ConstantList(tools::ConstantTarget target) const
{
    return target == ZonePlateConstant ? ui->cbConstant4 : ui->cbConstant1;
}

void TfrmMain::FillConstantList(tools::ConstantTarget target, bool selectUser)
{
    // A stored constant that cannot be read is no constant: the list is built without it.
    double stored = -1;
    try {
        stored = tools::ReadSettingFloat(tools::ConstantSettingName(target));
    } catch (const std::exception &) {
        stored = -1;
    }

    QComboBox *list = ConstantList(target);
    const QSignalBlocker blocker(list);
    list->clear();
    for (const std::string &entry : tools::ConstantListEntries(stored, DecimalSeparator()))
        list->addItem(FromStd(entry));
    list->setCurrentIndex(tools::ConstantListSelection(stored, selectUser));
}

double TfrmMain::SelectedConstant(tools::ConstantTarget target) const
{
    const std::string entry = ToStd(ConstantList(target)->currentText());
    if (const std::optional<double> c = tools::ConstantFromEntry(entry, DecimalSeparator()))
        return *c;
    // Only a number may stand before the first blank; anything else is reported, never
    // taken as 0.
    throw std::invalid_argument(tools::FormatStr(2302, entry.substr(0, entry.find(' '))));
}

int TfrmMain::ConstantListIndex(tools::ConstantTarget target) const
{
    return ConstantList(target)->currentIndex();
}

// Selecting in code runs no change handler: the handlers listen to the user's picks only,
// and the blocker keeps any other listener quiet as well.
void TfrmMain::SelectConstantListIndex(tools::ConstantTarget target, int index)
{
    QComboBox *list = ConstantList(target);
    const QSignalBlocker blocker(list);
    list->setCurrentIndex(index);
}

int TfrmMain::PrevConstantIndex(tools::ConstantTarget target) const
{
    return target == ZonePlateConstant ? PrevConstantIndexZP : PrevConstantIndex1;
}

void TfrmMain::SetPrevConstantIndex(tools::ConstantTarget target, int index)
{
    (target == ZonePlateConstant ? PrevConstantIndexZP : PrevConstantIndex1) = index;
}

void TfrmMain::CalcOptimalDiameter()
{
    const double c = SelectedConstant(DiameterConstant);
    ui->edOptimalDiameter1->setText(FromStd(tools::OptimalDiameterText(
        ToStd(ui->edImageDistance1->text()), ToStd(ui->cbUnits2->currentText()),
        ToStd(ui->edWave1->text()), c, ToStd(ui->cbUnits4->currentText()), tools::DecNum,
        DecimalSeparator())));
}

void TfrmMain::CalcOptimalFocalLength()
{
    const double c = SelectedConstant(DiameterConstant);
    ui->edOptimalDistance1->setText(FromStd(tools::OptimalFocalLengthText(
        ToStd(ui->edPinholeDiameter1->text()), ToStd(ui->cbUnits1->currentText()),
        ToStd(ui->edWave1->text()), c, ToStd(ui->cbUnits3->currentText()), tools::DecNum,
        DecimalSeparator())));
}

void TfrmMain::CalcFNumber()
{
    ui->edFnumber1->setText(FromStd(
        tools::FNumberText(ToStd(ui->edPinholeDiameter1->text()),
                           ToStd(ui->cbUnits1->currentText()), ToStd(ui->edImageDistance1->text()),
                           ToStd(ui->cbUnits2->currentText()), DecimalSeparator())));
}

// Reads the f number back from its field: the factor follows the whole number shown.
void TfrmMain::CalcExposureFactor()
{
    ui->edFnumberFactor1->setText(
        FromStd(tools::ExposureFactorText(ToStd(ui->edFnumber1->text()), DecimalSeparator())));
}

void TfrmMain::SetPictures()
{
    const std::pair<QLabel *, const char *> pictures[] = {
        {ui->imgFormula, "formula"}, {ui->imgArrow1, "arrow"},  {ui->imgArrow2, "arrow"},
        {ui->imgEye, "eye"},         {ui->imgLegend, "legend"},
    };
    for (const auto &[label, name] : pictures) {
        label->setPixmap(Picture(QString::fromLatin1(name), devicePixelRatioF()));
        label->setAlignment(Qt::AlignCenter);
    }
}
