// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/pages/calculatorpage.h"

#include <memory>

namespace Ui {
class AnglePage;
}

// The angle of view tab: the diagonal angle of view of a film format and focal length, in
// degrees-minutes-seconds or decimal degrees, and its diagram against the angle of a normal
// lens, recalculated on every change and whenever the page shows.
class AnglePage : public CalculatorPage
{
    Q_OBJECT

public:
    explicit AnglePage(QWidget *parent = nullptr);
    ~AnglePage() override;

    FormPlan Plan() const override;
    void SelectMainUnit() override;
    void PreferencesChanged(TFrmPreferences::Changes changes) override;

    // The surface keeps the lines it was last given and draws them itself whenever it is
    // repainted, so after this the diagram stays on screen without further help.
    void CalcAngleOfView();

protected:
    void Build() override;
    void showEvent(QShowEvent *event) override;

private:
    void DrawAngleDiagram(double halfAngle);
    void ClearAngleDiagram();

    std::unique_ptr<Ui::AnglePage> ui;
};
