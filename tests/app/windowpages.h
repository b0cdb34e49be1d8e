// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The pages of the main window are built when first shown; tests that drive the controls of
// several pages build them all at once, as a user who visited every tab would have.

#include "app/frmmain.h"
#include "app/pages/calculatorpage.h"

#include <memory>

inline void BuildAllPages(TfrmMain &window)
{
    for (int i = 0; i < window.PageCount(); ++i)
        window.Page(i)->EnsureBuilt();
}

// A main window with every page built.
inline std::unique_ptr<TfrmMain> MakeBuiltWindow()
{
    auto window = std::make_unique<TfrmMain>();
    BuildAllPages(*window);
    return window;
}
