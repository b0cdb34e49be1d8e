// SPDX-License-Identifier: GPL-3.0-or-later
// The angle of view tab and its diagram.
#include "app/frmmain.h"
#include "ui_frmmain.h"

#include "components/anglediagram.h"
#include "components/uitext.h"
#include "tools/optics.h"
#include "tools/settings.h"

#include <optional>
#include <utility>

void TfrmMain::WireAngleTab()
{
    const std::pair<QLineEdit *, Handler> fields[] = {
        {ui->edFormatA, &TfrmMain::edFormatAChange},
        {ui->edFormatB, &TfrmMain::edFormatBChange},
        {ui->edImageDistance2, &TfrmMain::edImageDistance2Change},
    };
    for (const auto &[field, handler] : fields)
        Wire(field, &QLineEdit::textChanged, handler);

    Wire(ui->cbUnitsB1, &QComboBox::currentIndexChanged, &TfrmMain::cbUnitsB1Change);
    Wire(ui->cbUnits5, &QComboBox::currentIndexChanged, &TfrmMain::cbUnits5Change);
}

void TfrmMain::edFormatAChange()
{
    CalcAngleOfView();
}

void TfrmMain::edFormatBChange()
{
    CalcAngleOfView();
}

void TfrmMain::cbUnitsB1Change()
{
    CalcAngleOfView();
}

void TfrmMain::edImageDistance2Change()
{
    CalcAngleOfView();
}

void TfrmMain::cbUnits5Change()
{
    CalcAngleOfView();
}

void TfrmMain::TabSheet2Show()
{
    CalcAngleOfView();
}

// The surface keeps the lines it was last given and draws them itself whenever it is
// repainted, so after this routine the diagram stays on screen without further help.
void TfrmMain::CalcAngleOfView()
{
    const char decSep = DecimalSeparator();
    const std::optional<tools::ViewAngle> angle =
        tools::AngleOfView(ToStd(ui->edFormatA->text()), ToStd(ui->edFormatB->text()),
                           ToStd(ui->cbUnitsB1->currentText()), ToStd(ui->edImageDistance2->text()),
                           ToStd(ui->cbUnits5->currentText()), decSep);
    if (!angle) {
        ui->edAngle->clear();
        ClearAngleDiagram();
        return;
    }
    ui->edAngle->setText(
        FromStd(tools::AngleText(angle->degrees, tools::AngleUnit, tools::DecNum, decSep)));
    DrawAngleDiagram(angle->halfAngle);
}

void TfrmMain::DrawAngleDiagram(double halfAngle)
{
    ui->PaintBox->SetDiagram(tools::AngleDiagramLines(halfAngle));
    ui->imgEye->show();
}

void TfrmMain::ClearAngleDiagram()
{
    ui->imgEye->hide();
    ui->PaintBox->Clear();
}
