// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/pages/calculatorpage.h"

#include <memory>

namespace Ui {
class DiameterPage;
}
class TConstantList;

// The pinhole diameter and focal length tab: the optimal diameter for a focal length
// (d = c * sqrt(f * l)), the optimal focal length for a diameter, the f number and the
// exposure factor against f 22, recalculated on every change of a field, a unit or the
// constant.
class DiameterPage : public CalculatorPage
{
    Q_OBJECT

public:
    explicit DiameterPage(QWidget *parent = nullptr);
    ~DiameterPage() override;

    FormPlan Plan() const override;
    void SelectMainUnit() override;
    void PreferencesChanged(TFrmPreferences::Changes changes) override;

    // The constant list (cbConstant1), which the user constant dialog refills.
    TConstantList *ConstantList() const;

    void CalcOptimalDiameter();
    void CalcOptimalFocalLength();
    void CalcFNumber();
    // Reads the f number back from its field: the factor follows the whole number shown.
    void CalcExposureFactor();

signals:
    // The user picked the action entry of the constant list.
    void UserConstantRequested(TConstantList *list);

protected:
    void Build() override;

private:
    void edPinholeDiameter1Change();
    void cbUnits1Change();
    void edImageDistance1Change();
    void cbUnits2Change();
    void edWave1Change();
    void cbUnits3Change();
    void cbUnits4Change();
    void cbConstant1Change();

    std::unique_ptr<Ui::DiameterPage> ui;
};
