// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/pages/calculatorpage.h"

#include <memory>

namespace Ui {
class MagnificationPage;
}

// The magnification tab: the magnification and the size on the film of a subject at a given
// distance, recalculated on every change of a field or a unit.
class MagnificationPage : public CalculatorPage
{
    Q_OBJECT

public:
    explicit MagnificationPage(QWidget *parent = nullptr);
    ~MagnificationPage() override;

    FormPlan Plan() const override;
    void SelectMainUnit() override;
    void PreferencesChanged(TFrmPreferences::Changes changes) override;

    void CalcMagnification();

protected:
    void Build() override;

private:
    std::unique_ptr<Ui::MagnificationPage> ui;
};
