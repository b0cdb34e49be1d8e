// SPDX-License-Identifier: GPL-3.0-or-later
// The magnification tab.
#include "app/frmmain.h"
#include "ui_frmmain.h"

#include "components/uitext.h"
#include "tools/optics.h"
#include "tools/settings.h"

#include <utility>

void TfrmMain::WireMagnificationTab()
{
    const std::pair<QLineEdit *, Handler> fields[] = {
        {ui->edObjectdistance, &TfrmMain::edObjectdistanceChange},
        {ui->edImageDistance3, &TfrmMain::edImageDistance3Change},
        {ui->edObjectSize, &TfrmMain::edObjectSizeChange},
    };
    for (const auto &[field, handler] : fields)
        Wire(field, &QLineEdit::textChanged, handler);

    const std::pair<QComboBox *, Handler> units[] = {
        {ui->cbUnitsC1, &TfrmMain::cbUnitsC1Change},
        {ui->cbUnits6, &TfrmMain::cbUnits6Change},
        {ui->cbUnitsC2, &TfrmMain::cbUnitsC2Change},
        {ui->cbUnits7, &TfrmMain::cbUnits7Change},
    };
    for (const auto &[list, handler] : units)
        Wire(list, &QComboBox::currentIndexChanged, handler);
}

void TfrmMain::edObjectdistanceChange()
{
    CalcMagnification();
}

void TfrmMain::edImageDistance3Change()
{
    CalcMagnification();
}

void TfrmMain::edObjectSizeChange()
{
    CalcMagnification();
}

void TfrmMain::cbUnitsC1Change()
{
    CalcMagnification();
}

void TfrmMain::cbUnits6Change()
{
    CalcMagnification();
}

void TfrmMain::cbUnitsC2Change()
{
    CalcMagnification();
}

void TfrmMain::cbUnits7Change()
{
    CalcMagnification();
}

void TfrmMain::CalcMagnification()
{
    const tools::MagnificationResult result = tools::MagnificationTexts(
        ToStd(ui->edObjectdistance->text()), ToStd(ui->cbUnitsC1->currentText()),
        ToStd(ui->edImageDistance3->text()), ToStd(ui->cbUnits6->currentText()),
        ToStd(ui->edObjectSize->text()), ToStd(ui->cbUnitsC2->currentText()),
        ToStd(ui->cbUnits7->currentText()), tools::DecNum, DecimalSeparator());
    ui->edMagnification->setText(FromStd(result.magnification));
    ui->edSizeOnFilm->setText(FromStd(result.sizeOnFilm));
}
