// SPDX-License-Identifier: GPL-3.0-or-later
// The pinhole diameter and focal length tab, and the two constant lists.
#include "app/frmmain.h"
#include "ui_frmmain.h"

#include <utility>

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
    CalcOptimalFocalLength();
    CalcOptimalDiameter();
}

void TfrmMain::FillConstantList(ConstantTarget, bool) {}

void TfrmMain::CalcOptimalDiameter() {}

void TfrmMain::CalcOptimalFocalLength() {}

void TfrmMain::CalcFNumber() {}

void TfrmMain::CalcExposureFactor() {}
