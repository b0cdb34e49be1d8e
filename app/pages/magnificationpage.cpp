// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/pages/magnificationpage.h"
#include "ui_magnificationpage.h"

#include "app/pages/pageparts.h"
#include "components/guarded.h"
#include "components/uitext.h"
#include "forms/magnificationpage_form.h"
#include "tools/optics.h"
#include "tools/settings.h"

namespace {

constexpr Caption kCaptions[] = {
    {"Label_15", 1501}, {"Label_16", 1502}, {"Label_17", 1503},
    {"Label_18", 1504}, {"Label_19", 1505},
};

constexpr UnitList kUnitLists[] = {
    {"cbUnits6", kMmIn, "Label_16"},
    {"cbUnits7", kMmIn, "Label_19"},
    {"cbUnitsC1", kMmCmMIn, "Label_15"},
    {"cbUnitsC2", kMmCmMIn, "Label_17"},
};

constexpr NumericField kNumericFields[] = {
    {"edObjectdistance", TNumericKeyFilter::Kind::Decimal},
    {"edImageDistance3", TNumericKeyFilter::Kind::Decimal},
    {"edObjectSize", TNumericKeyFilter::Kind::Decimal},
};

} // namespace

MagnificationPage::MagnificationPage(QWidget *parent) : CalculatorPage(parent) {}

MagnificationPage::~MagnificationPage() = default;

FormPlan MagnificationPage::Plan() const
{
    FormPlan plan(formtable::kMagnificationPage);
    PlanCaptions(plan, kCaptions);
    return plan;
}

void MagnificationPage::Build()
{
    ui = std::make_unique<Ui::MagnificationPage>();
    ui->setupUi(this);
    SetCaptions(this, kCaptions);
    FillUnitLists(this, kUnitLists);
    InstallKeyFilters(this, kNumericFields);
    GreyResultFields(this);

    for (QLineEdit *field : {ui->edObjectdistance, ui->edImageDistance3, ui->edObjectSize})
        ConnectGuarded(field, &QLineEdit::textChanged, this, &MagnificationPage::CalcMagnification);
    for (QComboBox *list : {ui->cbUnitsC1, ui->cbUnits6, ui->cbUnitsC2, ui->cbUnits7})
        ConnectGuarded(list, &QComboBox::currentIndexChanged, this,
                       &MagnificationPage::CalcMagnification);
}

void MagnificationPage::SelectMainUnit()
{
    ::SelectMainUnit(this, kUnitLists);
}

void MagnificationPage::PreferencesChanged(TFrmPreferences::Changes changes)
{
    if (changes.testFlag(TFrmPreferences::Change::Lengths))
        CalcMagnification();
}

void MagnificationPage::CalcMagnification()
{
    const tools::MagnificationResult result = tools::MagnificationTexts(
        ToStd(ui->edObjectdistance->text()), ToStd(ui->cbUnitsC1->currentText()),
        ToStd(ui->edImageDistance3->text()), ToStd(ui->cbUnits6->currentText()),
        ToStd(ui->edObjectSize->text()), ToStd(ui->cbUnitsC2->currentText()),
        ToStd(ui->cbUnits7->currentText()), tools::DecNum, DecimalSeparator());
    ui->edMagnification->setText(FromStd(result.magnification));
    ui->edSizeOnFilm->setText(FromStd(result.sizeOnFilm));
}
