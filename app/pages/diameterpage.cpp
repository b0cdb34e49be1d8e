// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/pages/diameterpage.h"
#include "ui_diameterpage.h"

#include "app/pages/pageparts.h"
#include "components/guarded.h"
#include "components/uitext.h"
#include "forms/diameterpage_form.h"
#include "tools/optics.h"
#include "tools/settings.h"

#include <utility>

namespace {

constexpr Caption kCaptions[] = {
    {"GroupBox1", 1301, Decor::GroupBox},
    {"Label_01", 1302},
    {"Label_02", 1303},
    {"Label_03", 1304},
    {"Label_04", kMillimetre},
    {"Label_05", 1305},
    {"Label_06", 1306},
    {"Label_07", 1307},
    {"Label_08", 1308},
    {"GroupBox2", 1309, Decor::GroupBox},
    {"Label_09", 1310},
    {"lb_diameter", 1340},
    {"lb_constant", 1341},
    {"lb_imagedistance", 1342},
    {"lb_wavelength", 1343},
};

constexpr UnitList kUnitLists[] = {
    {"cbUnits1", kMmIn, "Label_01"},
    {"cbUnits2", kMmIn, "Label_02"},
    {"cbUnits3", kMmIn, "Label_07"},
    {"cbUnits4", kMmIn, "Label_08"},
};

constexpr NumericField kNumericFields[] = {
    {"edPinholeDiameter1", TNumericKeyFilter::Kind::Decimal},
    {"edImageDistance1", TNumericKeyFilter::Kind::Decimal},
    {"edWave1", TNumericKeyFilter::Kind::Decimal},
};

constexpr PicturePlace kPictures[] = {
    {"imgFormula", "formula"},
    {"imgArrow1", "arrow"},
    {"imgArrow2", "arrow"},
};

} // namespace

DiameterPage::DiameterPage(QWidget *parent) : CalculatorPage(parent) {}

DiameterPage::~DiameterPage() = default;

FormPlan DiameterPage::Plan() const
{
    FormPlan plan(formtable::kDiameterPage);
    PlanCaptions(plan, kCaptions);
    plan.SetText("edWave1", StartWavelength());
    return plan;
}

void DiameterPage::Build()
{
    ui = std::make_unique<Ui::DiameterPage>();
    ui->setupUi(this);
    SetCaptions(this, kCaptions);
    FillUnitLists(this, kUnitLists);
    InstallKeyFilters(this, kNumericFields);
    GreyResultFields(this);
    SetPictures(this, kPictures);
    ui->cbConstant1->SetTarget(tools::ConstantTarget::Pinhole);
    ui->cbConstant1->Fill(false);

    const std::pair<QLineEdit *, void (DiameterPage::*)()> fields[] = {
        {ui->edPinholeDiameter1, &DiameterPage::edPinholeDiameter1Change},
        {ui->edImageDistance1, &DiameterPage::edImageDistance1Change},
        {ui->edWave1, &DiameterPage::edWave1Change},
    };
    for (const auto &[field, handler] : fields)
        ConnectGuarded(field, &QLineEdit::textChanged, this, handler);
    const std::pair<QComboBox *, void (DiameterPage::*)()> units[] = {
        {ui->cbUnits1, &DiameterPage::cbUnits1Change},
        {ui->cbUnits2, &DiameterPage::cbUnits2Change},
        {ui->cbUnits3, &DiameterPage::cbUnits3Change},
        {ui->cbUnits4, &DiameterPage::cbUnits4Change},
    };
    for (const auto &[list, handler] : units)
        ConnectGuarded(list, &QComboBox::currentIndexChanged, this, handler);
    ConnectGuarded(ui->cbConstant1, &TConstantList::constantPicked, this,
                   &DiameterPage::cbConstant1Change);
    connect(ui->cbConstant1, &TConstantList::userConstantRequested, this,
            [this] { emit UserConstantRequested(ui->cbConstant1); });

    // Like a change by the user, this runs the field's change handler: the results stay empty.
    ui->edWave1->setText(StartWavelength());
}

void DiameterPage::SelectMainUnit()
{
    ::SelectMainUnit(this, kUnitLists);
}

void DiameterPage::PreferencesChanged(TFrmPreferences::Changes changes)
{
    if (!changes.testFlag(TFrmPreferences::Change::Lengths))
        return;
    CalcOptimalDiameter();
    CalcOptimalFocalLength();
    CalcFNumber();
    CalcExposureFactor();
}

TConstantList *DiameterPage::ConstantList() const
{
    return ui ? ui->cbConstant1 : nullptr;
}

void DiameterPage::edPinholeDiameter1Change()
{
    CalcOptimalFocalLength();
    CalcFNumber();
    CalcExposureFactor();
}

void DiameterPage::cbUnits1Change()
{
    edPinholeDiameter1Change();
}

void DiameterPage::edImageDistance1Change()
{
    CalcOptimalDiameter();
    CalcFNumber();
    CalcExposureFactor();
}

void DiameterPage::cbUnits2Change()
{
    edImageDistance1Change();
}

void DiameterPage::edWave1Change()
{
    CalcOptimalDiameter();
    CalcOptimalFocalLength();
}

void DiameterPage::cbUnits3Change()
{
    CalcOptimalFocalLength();
}

void DiameterPage::cbUnits4Change()
{
    CalcOptimalDiameter();
}

void DiameterPage::cbConstant1Change()
{
    CalcOptimalFocalLength();
    CalcOptimalDiameter();
}

void DiameterPage::CalcOptimalDiameter()
{
    const double c = ui->cbConstant1->SelectedConstant();
    ui->edOptimalDiameter1->setText(FromStd(tools::OptimalDiameterText(
        ToStd(ui->edImageDistance1->text()), ToStd(ui->cbUnits2->currentText()),
        ToStd(ui->edWave1->text()), c, ToStd(ui->cbUnits4->currentText()), tools::DecNum,
        DecimalSeparator())));
}

void DiameterPage::CalcOptimalFocalLength()
{
    const double c = ui->cbConstant1->SelectedConstant();
    ui->edOptimalDistance1->setText(FromStd(tools::OptimalFocalLengthText(
        ToStd(ui->edPinholeDiameter1->text()), ToStd(ui->cbUnits1->currentText()),
        ToStd(ui->edWave1->text()), c, ToStd(ui->cbUnits3->currentText()), tools::DecNum,
        DecimalSeparator())));
}

void DiameterPage::CalcFNumber()
{
    ui->edFnumber1->setText(FromStd(
        tools::FNumberText(ToStd(ui->edPinholeDiameter1->text()),
                           ToStd(ui->cbUnits1->currentText()), ToStd(ui->edImageDistance1->text()),
                           ToStd(ui->cbUnits2->currentText()), DecimalSeparator())));
}

void DiameterPage::CalcExposureFactor()
{
    ui->edFnumberFactor1->setText(
        FromStd(tools::ExposureFactorText(ToStd(ui->edFnumber1->text()), DecimalSeparator())));
}
