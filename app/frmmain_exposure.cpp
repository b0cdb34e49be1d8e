// SPDX-License-Identifier: GPL-3.0-or-later
// The exposure tab: exposure times for the camera's f number, with the film database.
#include "app/frmmain.h"
#include "ui_frmmain.h"

#include "components/waitcursor.h"

void TfrmMain::WireExposureTab()
{
    Wire(ui->edFnumber5, &QLineEdit::textChanged, &TfrmMain::edFnumber5Change);
    // Also when the check box is cleared in code (a missing film database does that).
    Wire(ui->chbReciprocity, &QCheckBox::toggled, &TfrmMain::chbReciprocityClick);
    Wire(ui->cbFilmName, &QComboBox::currentIndexChanged, &TfrmMain::cbFilmNameChange);
    Wire(ui->btCalculate5, &QPushButton::clicked, &TfrmMain::btCalculate5Click);
    Wire(ui->btSaveExposureTimes, &QPushButton::clicked, &TfrmMain::btSaveExposureTimesClick);

    TStringAlignGrid *grid = ui->sgridExposureTimes;
    connect(grid, &TStringAlignGrid::keyReleased, this,
            [this](int key, Qt::KeyboardModifiers modifiers) {
                Guarded(this, [&] { sgridExposureTimesKeyUp(key, modifiers); });
            });
    Wire(grid, &TStringAlignGrid::wheelTurned, &TfrmMain::sgridExposureTimesMouseWheel);
    Wire(grid, &TStringAlignGrid::focusEntered, &TfrmMain::sgridExposureTimesEnter);
    Wire(grid, &TStringAlignGrid::focusLeft, &TfrmMain::sgridExposureTimesExit);
}

void TfrmMain::edFnumber5Change()
{
    ResetExposureTable();
    UpdateExposureFactor();
}

void TfrmMain::chbReciprocityClick()
{
    ResetExposureTable();
    ui->cbFilmName->setEnabled(ui->chbReciprocity->isChecked());
}

void TfrmMain::cbFilmNameChange()
{
    ResetExposureTable();
}

void TfrmMain::btCalculate5Click()
{
    // Stays disabled until the next change of the inputs.
    ui->btCalculate5->setEnabled(false);
    const WaitCursor hourglass;
    FillExposureTable();
}

void TfrmMain::btSaveExposureTimesClick() {}

void TfrmMain::sgridExposureTimesKeyUp(int, Qt::KeyboardModifiers) {}

void TfrmMain::sgridExposureTimesMouseWheel() {}

void TfrmMain::sgridExposureTimesEnter() {}

void TfrmMain::sgridExposureTimesExit() {}

void TfrmMain::ResetExposureTable() {}

void TfrmMain::UpdateExposureFactor() {}

void TfrmMain::FillExposureTable() {}

void TfrmMain::LoadFilmDatabase() {}

void TfrmMain::CompleteExposureTimeLabels() {}
