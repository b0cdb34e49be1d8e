// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/pages/calculatorpage.h"
#include "components/stringaligngrid.h"
#include "tools/zoneplate.h"

#include <memory>

namespace Ui {
class ZonePlatePage;
}
class TConstantList;
struct TZonePlateInputs;

// The zone plate tab: the diameters of the zones of a Fresnel zone plate and its f number,
// shown when Calculate is pressed, and the plate's drawing written as a PDF or SVG file
// (Create PDF...). Every change of an input empties the results.
class ZonePlatePage : public CalculatorPage
{
    Q_OBJECT

public:
    explicit ZonePlatePage(QWidget *parent = nullptr);
    ~ZonePlatePage() override;

    FormPlan Plan() const override;
    void SelectMainUnit() override;
    void PreferencesChanged(TFrmPreferences::Changes changes) override;
    QPushButton *DefaultButton() const override;

    // The constant list (cbConstant4), which the user constant dialog refills.
    TConstantList *ConstantList() const;

    // Empties the results; the buttons follow the inputs.
    void ResetZonePlateTab();
    void ShowZonePlateTable();

    // How the table's columns and rows fit the running font.
    static GridFit TableFit();

signals:
    // The user picked the action entry of the constant list.
    void UserConstantRequested(TConstantList *list);

protected:
    void Build() override;

private:
    void btCalculateClick();
    void btCreateZPClick();
    // The four inputs of the tab and the focal length as shown; throws when the zone count is
    // no accepted count.
    TZonePlateInputs ZonePlateInputs() const;
    // The zone count check of both buttons: false after its message has been shown.
    bool ZoneCountAccepted();
    // Colour depth of the screen the page is on, in bits per pixel.
    int NumberOfColors() const;

    std::unique_ptr<Ui::ZonePlatePage> ui;
};
