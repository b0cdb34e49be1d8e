// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "components/lazypage.h"
#include "dialogs/frmpreferences.h"

class QPushButton;

// A page of the main window: one calculator, with its own form and handlers, built when it is
// first shown (TLazyPage). The window calls these only on a page that is built: a page built
// later reads the preferences and settings as they are then.
class CalculatorPage : public TLazyPage
{
    Q_OBJECT

public:
    using TLazyPage::TLazyPage;

    // Every unit list on the main unit (tools::MainUnit); runs no recalculation.
    virtual void SelectMainUnit() {}
    // The preferences changed as told (the options dialog): what shows them is recalculated.
    virtual void PreferencesChanged(TFrmPreferences::Changes changes) { (void)changes; }
    // The button Enter presses on this page when it is enabled; none on most pages.
    virtual QPushButton *DefaultButton() const { return nullptr; }
};
