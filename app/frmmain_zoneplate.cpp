// SPDX-License-Identifier: GPL-3.0-or-later
// The zone plate tab: zone diameters, and the PDF of the plate.
#include "app/frmmain.h"
#include "ui_frmmain.h"

#include "components/waitcursor.h"

#include <utility>

void TfrmMain::WireZonePlateTab()
{
    const std::pair<QLineEdit *, Handler> fields[] = {
        {ui->edNumZones, &TfrmMain::edNumZonesChange},
        {ui->edImageDistance4, &TfrmMain::edImageDistance4Change},
        {ui->edWave4, &TfrmMain::edWave4Change},
    };
    for (const auto &[field, handler] : fields)
        Wire(field, &QLineEdit::textChanged, handler);

    Wire(ui->cbUnits8, &QComboBox::currentIndexChanged, &TfrmMain::cbUnits8Change);
    // Only the user's choice: selecting an entry in code must not reset the tab.
    Wire(ui->cbConstant4, &QComboBox::activated, &TfrmMain::cbConstant4Change);
    Wire(ui->btCalculate, &QPushButton::clicked, &TfrmMain::btCalculateClick);
    Wire(ui->btCreateZP, &QPushButton::clicked, &TfrmMain::btCreateZPClick);

    TStringAlignGrid *grid = ui->sgridZoneplate;
    connect(grid, &TStringAlignGrid::keyReleased, this,
            [this](int key, Qt::KeyboardModifiers modifiers) {
                Guarded(this, [&] { sgridZoneplateKeyUp(key, modifiers); });
            });
    Wire(grid, &TStringAlignGrid::wheelTurned, &TfrmMain::sgridZoneplateMouseWheel);
    Wire(grid, &TStringAlignGrid::focusEntered, &TfrmMain::sgridZoneplateEnter);
    Wire(grid, &TStringAlignGrid::focusLeft, &TfrmMain::sgridZoneplateExit);
}

void TfrmMain::edNumZonesChange()
{
    ResetZonePlateTab();
}

void TfrmMain::edImageDistance4Change()
{
    ResetZonePlateTab();
}

void TfrmMain::cbUnits8Change()
{
    ResetZonePlateTab();
}

void TfrmMain::edWave4Change()
{
    ResetZonePlateTab();
}

void TfrmMain::cbConstant4Enter()
{
    PrevConstantIndexZP = ui->cbConstant4->currentIndex();
}

void TfrmMain::cbConstant4Change()
{
    ResetZonePlateTab();
}

void TfrmMain::btCalculateClick()
{
    // Stays disabled until the next change of the inputs.
    ui->btCalculate->setEnabled(false);
    const WaitCursor hourglass;
    ShowZonePlateTable();
}

void TfrmMain::btCreateZPClick() {}

void TfrmMain::sgridZoneplateKeyUp(int, Qt::KeyboardModifiers) {}

void TfrmMain::sgridZoneplateMouseWheel() {}

void TfrmMain::sgridZoneplateEnter() {}

void TfrmMain::sgridZoneplateExit() {}

void TfrmMain::ResetZonePlateTab() {}

void TfrmMain::ShowZonePlateTable() {}
