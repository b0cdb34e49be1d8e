// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/pages/zoneplatepage.h"
#include "ui_zoneplatepage.h"

#include "app/pages/pageparts.h"
#include "components/guarded.h"
#include "components/messagebox.h"
#include "components/uitext.h"
#include "components/waitcursor.h"
#include "dialogs/frmcreatezp.h"
#include "forms/zoneplatepage_form.h"
#include "tools/numtext.h"
#include "tools/settings.h"
#include "tools/stringtable.h"

#include <QPointer>
#include <QScreen>

#include <cstdint>
#include <stdexcept>
#include <string>

namespace {

constexpr int kRowHeight = 16;
constexpr int kNumberColumnWidth = 51;
constexpr int kDiameterColumnWidth = 120;
// With more rows than the table shows at once its scroll bar appears, and the diameter column
// makes room for it.
constexpr int kRowsWithoutScrollBar = 15;
constexpr int kNarrowDiameterColumnWidth = 104;

constexpr Caption kCaptions[] = {
    {"GroupBox4", 1601, Decor::GroupBox},
    {"Label_20", 1602},
    {"Label_21", 1603},
    {"Label_22", 1604},
    {"Label_23", kMillimetre},
    {"Label_24", 1605},
    {"Label_25", 1606},
    {"btCalculate", 1615, Decor::Calculate},
    {"btCreateZP", 1616},
};

constexpr UnitList kUnitLists[] = {
    {"cbUnits8", kMmIn, "Label_21"},
};

constexpr NumericField kNumericFields[] = {
    {"edImageDistance4", TNumericKeyFilter::Kind::Decimal},
    {"edWave4", TNumericKeyFilter::Kind::Decimal},
    {"edNumZones", TNumericKeyFilter::Kind::Integer},
};

} // namespace

ZonePlatePage::ZonePlatePage(QWidget *parent) : CalculatorPage(parent) {}

ZonePlatePage::~ZonePlatePage() = default;

// The diameter column's header fits in either length unit, also when the scroll bar takes its
// room; the table shows as many rows without scrolling as the column widths count on.
GridFit ZonePlatePage::TableFit()
{
    GridFit fit;
    fit.narrowest = {kNumberColumnWidth, kNarrowDiameterColumnWidth};
    fit.headers = {
        {Str(1607)},
        {FromStd(tools::ZoneTableHeaderText(0)), FromStd(tools::ZoneTableHeaderText(1))}};
    fit.rowHeight = kRowHeight;
    fit.rows = kRowsWithoutScrollBar;
    return fit;
}

FormPlan ZonePlatePage::Plan() const
{
    FormPlan plan(formtable::kZonePlatePage);
    PlanCaptions(plan, kCaptions);
    plan.SetText("edWave4", StartWavelength());
    plan.SetGrid("sgridZoneplate", TableFit());
    return plan;
}

void ZonePlatePage::Build()
{
    ui = std::make_unique<Ui::ZonePlatePage>();
    ui->setupUi(this);
    SetCaptions(this, kCaptions);
    FillUnitLists(this, kUnitLists);
    InstallKeyFilters(this, kNumericFields);
    GreyResultFields(this);
    ui->sgridZoneplate->setAccessibleName(Str(1600));
    ui->cbConstant4->SetTarget(tools::ConstantTarget::ZonePlate);
    ui->cbConstant4->Fill(false);

    TResultGrid *grid = ui->sgridZoneplate;
    grid->SetColCount(2);
    grid->SetDefaultRowHeight(kRowHeight);
    grid->SetHeaderAlignment(Qt::AlignHCenter);
    for (int col = 0; col < 2; ++col)
        grid->SetColumnAlignment(col, Qt::AlignRight);

    for (QLineEdit *field : {ui->edNumZones, ui->edImageDistance4, ui->edWave4})
        ConnectGuarded(field, &QLineEdit::textChanged, this, &ZonePlatePage::ResetZonePlateTab);
    ConnectGuarded(ui->cbUnits8, &QComboBox::currentIndexChanged, this,
                   &ZonePlatePage::ResetZonePlateTab);
    ConnectGuarded(ui->cbConstant4, &TConstantList::constantPicked, this,
                   &ZonePlatePage::ResetZonePlateTab);
    connect(ui->cbConstant4, &TConstantList::userConstantRequested, this,
            [this] { emit UserConstantRequested(ui->cbConstant4); });
    ConnectGuarded(ui->btCalculate, &QPushButton::clicked, this, &ZonePlatePage::btCalculateClick);
    ConnectGuarded(ui->btCreateZP, &QPushButton::clicked, this, &ZonePlatePage::btCreateZPClick);

    // Like a change by the user: the tab is reset, its buttons disabled (no zone count yet)
    // and the table's headers set.
    ui->edWave4->setText(StartWavelength());
    grid->Fit(TableFit());
}

void ZonePlatePage::SelectMainUnit()
{
    ::SelectMainUnit(this, kUnitLists);
}

// A table of one zone has no more rows than the empty one: it is told by its visible data row.
void ZonePlatePage::PreferencesChanged(TFrmPreferences::Changes changes)
{
    if (changes.testFlag(TFrmPreferences::Change::Lengths) && ui->sgridZoneplate->IsFilled())
        ShowZonePlateTable();
}

QPushButton *ZonePlatePage::DefaultButton() const
{
    return ui ? ui->btCalculate : nullptr;
}

TConstantList *ZonePlatePage::ConstantList() const
{
    return ui ? ui->cbConstant4 : nullptr;
}

void ZonePlatePage::btCalculateClick()
{
    if (!ZoneCountAccepted())
        return;
    // Stays disabled until the next change of the inputs.
    ui->btCalculate->setEnabled(false);
    const WaitCursor hourglass;
    ShowZonePlateTable();
}

void ZonePlatePage::btCreateZPClick()
{
    if (!ZoneCountAccepted())
        return;
    // The dialog deletes itself when it closes; it is centred on the window.
    QPointer<TFrmCreateZP> dialog = new TFrmCreateZP(ZonePlateInputs(), window());
    dialog->exec();
}

bool ZonePlatePage::ZoneCountAccepted()
{
    const std::string text = ToStd(ui->edNumZones->text());
    const tools::ZoneCountCheck check = tools::CheckZoneCount(text, nullptr);
    if (check == tools::ZoneCountCheck::Ok)
        return true;
    ShowMessage(this, FromStd(tools::ZoneCountMessage(check, text)));
    ui->edNumZones->setFocus();
    return false;
}

TZonePlateInputs ZonePlatePage::ZonePlateInputs() const
{
    const std::string countText = ToStd(ui->edNumZones->text());
    std::int32_t n = 0;
    if (const tools::ZoneCountCheck check = tools::CheckZoneCount(countText, &n);
        check != tools::ZoneCountCheck::Ok)
        throw std::invalid_argument(tools::ZoneCountMessage(check, countText));

    TZonePlateInputs inputs;
    inputs.zoneCount = n;
    inputs.focalText = ui->edImageDistance4->text();
    inputs.unitText = ui->cbUnits8->currentText();
    inputs.focalMM =
        tools::LengthTextToMM(ToStd(inputs.focalText), ToStd(inputs.unitText), DecimalSeparator());
    inputs.wavelengthMM = tools::TextToNumber(ToStd(ui->edWave4->text()), DecimalSeparator());
    inputs.constant = ui->cbConstant4->SelectedConstant();
    return inputs;
}

int ZonePlatePage::NumberOfColors() const
{
    const QScreen *display = screen();
    return display ? display->depth() : 0;
}

void ZonePlatePage::ResetZonePlateTab()
{
    if (!ui)
        return;
    const bool ready = tools::ZonePlateInputsPositive(
        ToStd(ui->edNumZones->text()), ToStd(ui->edImageDistance4->text()),
        ToStd(ui->edWave4->text()), DecimalSeparator());
    ui->btCalculate->setEnabled(ready);
    ui->btCreateZP->setEnabled(ready);
    ui->edFnumber4->clear();

    TResultGrid *grid = ui->sgridZoneplate;
    grid->ShowEmpty({kNumberColumnWidth, kDiameterColumnWidth});
    grid->SetCell(0, 0, Str(1607));
    grid->SetCell(1, 0, FromStd(tools::ZoneTableHeaderText(tools::MainUnit)));
}

void ZonePlatePage::ShowZonePlateTable()
{
    const TZonePlateInputs in = ZonePlateInputs();
    const tools::TZonePlateValues values =
        tools::CalculateZonePlate(in.zoneCount, in.focalMM, in.wavelengthMM, in.constant);
    const int n = static_cast<int>(values.size()) - 1;

    TResultGrid *grid = ui->sgridZoneplate;
    grid->ShowFilled(n, {kNumberColumnWidth, n > kRowsWithoutScrollBar ? kNarrowDiameterColumnWidth
                                                                       : kDiameterColumnWidth});
    grid->SetCell(1, 0, FromStd(tools::ZoneTableHeaderText(tools::MainUnit)));

    // Even rows are striped; a display of few colours gets a darker grey that it can show.
    const QColor stripe = NumberOfColors() > 8 ? QColor(245, 245, 245) : QColor(192, 192, 192);
    for (int row = 1; row <= n; ++row) {
        grid->SetCell(0, row, QString::number(row));
        if (row % 2 == 0)
            grid->SetRowColor(row, stripe);
        grid->SetCell(1, row,
                      FromStd(tools::ZoneTableCellText(values[row], tools::MainUnit, tools::DecNum,
                                                       DecimalSeparator())));
    }
    ui->edFnumber4->setText(FromStd(tools::ZonePlateFNumberText(values)));

    if (isVisible())
        grid->setFocus();
}
