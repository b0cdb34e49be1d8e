// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the options dialog has the main window do after the preferences changed: move the unit
// lists to the new main unit and recalculate the tabs whose results depend on a preference.
class IPreferencesHost
{
public:
    // Every unit list on the main unit.
    virtual void SelectMainUnit() = 0;

    // The diameter tab.
    virtual void CalcOptimalDiameter() = 0;
    virtual void CalcOptimalFocalLength() = 0;
    virtual void CalcFNumber() = 0;
    virtual void CalcExposureFactor() = 0;

    // The angle of view and its diagram; also redraws the diagram a dialog covered.
    virtual void CalcAngleOfView() = 0;

    virtual void CalcMagnification() = 0;

    // The zone plate table: whether it shows a result (of one zone or more), and its refill.
    virtual bool ZonePlateTableShown() const = 0;
    virtual void ShowZonePlateTable() = 0;

    // The exposure table likewise.
    virtual int ExposureRowCount() const = 0;
    virtual void FillExposureTable() = 0;

protected:
    ~IPreferencesHost() = default;
};
