// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/pages/anglepage.h"
#include "ui_anglepage.h"

#include "app/pages/pageparts.h"
#include "components/guarded.h"
#include "components/uitext.h"
#include "forms/anglepage_form.h"
#include "tools/optics.h"
#include "tools/settings.h"

#include <optional>

namespace {

constexpr Caption kCaptions[] = {
    {"Label_10", 1401},
    {"Label_11", 1402},
    {"Label_12", 1403},
    {"Label_13", 1405},
    {"Label_14", 1406},
    {"Label_14b", 1407},
    {"GroupBox3", 1404, Decor::GroupBox},
};

constexpr UnitList kUnitLists[] = {
    {"cbUnitsB1", kMmCmIn, "Label_10"},
    {"cbUnits5", kMmIn, "Label_11"},
};

constexpr NumericField kNumericFields[] = {
    {"edFormatA", TNumericKeyFilter::Kind::Decimal},
    {"edFormatB", TNumericKeyFilter::Kind::Decimal},
    {"edImageDistance2", TNumericKeyFilter::Kind::Decimal},
};

constexpr PicturePlace kPictures[] = {
    {"imgEye", "eye"},
    {"imgLegend", "legend"},
};

} // namespace

AnglePage::AnglePage(QWidget *parent) : CalculatorPage(parent) {}

AnglePage::~AnglePage() = default;

FormPlan AnglePage::Plan() const
{
    FormPlan plan(formtable::kAnglePage);
    PlanCaptions(plan, kCaptions);
    return plan;
}

void AnglePage::Build()
{
    ui = std::make_unique<Ui::AnglePage>();
    ui->setupUi(this);
    SetCaptions(this, kCaptions);
    FillUnitLists(this, kUnitLists);
    const QString format = WithoutColon(ui->Label_10->text());
    ui->edFormatA->setAccessibleName(format + QStringLiteral(" A"));
    ui->edFormatB->setAccessibleName(format + QStringLiteral(" B"));
    InstallKeyFilters(this, kNumericFields);
    GreyResultFields(this);
    SetPictures(this, kPictures);

    for (QLineEdit *field : {ui->edFormatA, ui->edFormatB, ui->edImageDistance2})
        ConnectGuarded(field, &QLineEdit::textChanged, this, &AnglePage::CalcAngleOfView);
    for (QComboBox *list : {ui->cbUnitsB1, ui->cbUnits5})
        ConnectGuarded(list, &QComboBox::currentIndexChanged, this, &AnglePage::CalcAngleOfView);
}

void AnglePage::SelectMainUnit()
{
    ::SelectMainUnit(this, kUnitLists);
}

void AnglePage::PreferencesChanged(TFrmPreferences::Changes changes)
{
    if (changes & (TFrmPreferences::Change::Lengths | TFrmPreferences::Change::AngleUnit))
        CalcAngleOfView();
}

// The tab shows: the diagram is drawn afresh.
void AnglePage::showEvent(QShowEvent *event)
{
    CalculatorPage::showEvent(event);
    Guarded(this, [this] { CalcAngleOfView(); });
}

void AnglePage::CalcAngleOfView()
{
    if (!ui)
        return;
    const char decSep = DecimalSeparator();
    const std::optional<tools::ViewAngle> angle =
        tools::AngleOfView(ToStd(ui->edFormatA->text()), ToStd(ui->edFormatB->text()),
                           ToStd(ui->cbUnitsB1->currentText()), ToStd(ui->edImageDistance2->text()),
                           ToStd(ui->cbUnits5->currentText()), decSep);
    if (!angle) {
        ui->edAngle->clear();
        ClearAngleDiagram();
        return;
    }
    ui->edAngle->setText(
        FromStd(tools::AngleText(angle->degrees, tools::AngleUnit, tools::DecNum, decSep)));
    DrawAngleDiagram(angle->halfAngle);
}

void AnglePage::DrawAngleDiagram(double halfAngle)
{
    ui->PaintBox->SetDiagram(tools::AngleDiagramLines(halfAngle));
    ui->imgEye->show();
}

void AnglePage::ClearAngleDiagram()
{
    ui->imgEye->hide();
    ui->PaintBox->Clear();
}
