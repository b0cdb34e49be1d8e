// SPDX-License-Identifier: GPL-3.0-or-later
// The Tools and Help menus: unit conversion, options, help contents and the about box.
#include "app/frmmain.h"
#include "ui_frmmain.h"

#include "components/helpviewer.h"
#include "components/uitext.h"
#include "dialogs/frmabout.h"
#include "dialogs/frmconvert.h"
#include "dialogs/frmpreferences.h"
#include "dialogs/preferenceshost.h"

void TfrmMain::CreateConvertDialog()
{
    if (FrmConvert != nullptr)
        return;
    FrmConvert = new TFrmConvert(this);
    Wire(FrmConvert, &TFrmConvert::CalcAngleOfViewRequested, &TfrmMain::CalcAngleOfView);
}

void TfrmMain::convert1Click()
{
    // Made at start-up; made here for a window that was started without that step.
    CreateConvertDialog();
    FrmConvert->ShowOrRaise();
}

void TfrmMain::preferences1Click()
{
    // What the options dialog has this window do after the preferences changed.
    class Host final : public IPreferencesHost
    {
    public:
        explicit Host(TfrmMain &window) : w(window) {}
        void SelectMainUnit() override { w.SelectMainUnit(); }
        void CalcOptimalDiameter() override { w.CalcOptimalDiameter(); }
        void CalcOptimalFocalLength() override { w.CalcOptimalFocalLength(); }
        void CalcFNumber() override { w.CalcFNumber(); }
        void CalcExposureFactor() override { w.CalcExposureFactor(); }
        void CalcAngleOfView() override { w.CalcAngleOfView(); }
        void CalcMagnification() override { w.CalcMagnification(); }
        bool ZonePlateTableShown() const override { return w.ui->sgridZoneplate->RowHeight(1) > 0; }
        void ShowZonePlateTable() override { w.ShowZonePlateTable(); }
        int ExposureRowCount() const override { return w.ui->sgridExposureTimes->RowCount(); }
        void FillExposureTable() override { w.FillExposureTable(); }

    private:
        TfrmMain &w;
    };

    Host host(*this);
    TFrmPreferences dialog(host, this);
    dialog.exec();
}

void TfrmMain::content1Click()
{
    ShowHelpContents(this);
}

void TfrmMain::about1Click()
{
    TFrmAbout box(FromStd(FilmDBVersion()), this);
    Wire(&box, &TFrmAbout::CalcAngleOfViewRequested, &TfrmMain::CalcAngleOfView);
    box.exec();
}
