// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/constants.h"

// What the user constant dialog needs of the window that holds the two constant lists. The
// main window implements it; the dialog knows nothing else of that window.
class IConstantListHost
{
public:
    virtual ~IConstantListHost() = default;

    // Rebuilds target's list from the settings store and selects its user entry (selectUser)
    // or the Lord Rayleigh entry. Runs no change handler.
    virtual void FillConstantList(tools::ConstantTarget target, bool selectUser) = 0;

    // The position shown in target's list.
    virtual int ConstantListIndex(tools::ConstantTarget target) const = 0;
    // Shows the entry at index in target's list without running its change handler.
    virtual void SelectConstantListIndex(tools::ConstantTarget target, int index) = 0;

    // The entry target's list goes back to after the separator or a cancelled dialog
    // (PrevConstantIndex1 or PrevConstantIndexZP).
    virtual int PrevConstantIndex(tools::ConstantTarget target) const = 0;
    virtual void SetPrevConstantIndex(tools::ConstantTarget target, int index) = 0;

    // The recalculations that follow a new constant.
    virtual void CalcOptimalFocalLength() = 0;
    virtual void CalcOptimalDiameter() = 0;
    virtual void ResetZonePlateTab() = 0;

protected:
    IConstantListHost() = default;
    IConstantListHost(const IConstantListHost &) = default;
    IConstantListHost &operator=(const IConstantListHost &) = default;
};
