// SPDX-License-Identifier: GPL-3.0-or-later
// The zone plate tab: zone diameters, and the PDF of the plate.
#include "app/frmmain.h"
#include "ui_frmmain.h"

#include "components/uitext.h"
#include "components/waitcursor.h"
#include "dialogs/frmcreatezp.h"
#include "tools/numtext.h"
#include "tools/settings.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>

namespace {

constexpr int kZonePlatePage = 4;
constexpr int kRowHeight = 16;
constexpr int kNumberColumnWidth = 51;
constexpr int kDiameterColumnWidth = 120;
// With more rows than the grid shows at once its scroll bar appears, and the diameter
// column makes room for it.
constexpr int kRowsWithoutScrollBar = 15;
constexpr int kNarrowDiameterColumnWidth = 104;

QColor ButtonFaceColor()
{
    return QApplication::palette().color(QPalette::Button);
}

QColor WindowColor()
{
    return QApplication::palette().color(QPalette::Base);
}

} // namespace

void TfrmMain::WireZonePlateTab()
{
    const std::pair<QLineEdit *, Handler> fields[] = {
        {ui->edNumZones, &TfrmMain::edNumZonesChange},
        {ui->edImageDistance4, &TfrmMain::edImageDistance4Change},
        {ui->edWave4, &TfrmMain::edWave4Change},
    };
    for (const auto &[field, handler] : fields)
        Wire(field, &QLineEdit::textChanged, handler);

    Wire(ui->cbUnits8, &QComboBox::currentIndexChanged, &TfrmMain::cbUnits8Change);
    // Only the user's choice: selecting an entry in code must not reset the tab.
    Wire(ui->cbConstant4, &QComboBox::activated, &TfrmMain::cbConstant4Change);
    Wire(ui->btCalculate, &QPushButton::clicked, &TfrmMain::btCalculateClick);
    Wire(ui->btCreateZP, &QPushButton::clicked, &TfrmMain::btCreateZPClick);

    TStringAlignGrid *grid = ui->sgridZoneplate;
    grid->SetDefaultRowHeight(kRowHeight);
    grid->SetHeaderAlignment(Qt::AlignHCenter);
    for (int col = 0; col < 2; ++col)
        grid->SetColumnAlignment(col, Qt::AlignRight);
    grid->SetSelectedCellColor(QApplication::palette().color(QPalette::Highlight));
    connect(grid, &TStringAlignGrid::keyReleased, this,
            [this](int key, Qt::KeyboardModifiers modifiers) {
                Guarded(this, [&] { sgridZoneplateKeyUp(key, modifiers); });
            });
    Wire(grid, &TStringAlignGrid::wheelTurned, &TfrmMain::sgridZoneplateMouseWheel);
    Wire(grid, &TStringAlignGrid::focusEntered, &TfrmMain::sgridZoneplateEnter);
    Wire(grid, &TStringAlignGrid::focusLeft, &TfrmMain::sgridZoneplateExit);
}

void TfrmMain::edNumZonesChange()
{
    ResetZonePlateTab();
}

void TfrmMain::edImageDistance4Change()
{
    ResetZonePlateTab();
}

void TfrmMain::cbUnits8Change()
{
    ResetZonePlateTab();
}

void TfrmMain::edWave4Change()
{
    ResetZonePlateTab();
}

void TfrmMain::cbConstant4Enter()
{
    PrevConstantIndexZP = ui->cbConstant4->currentIndex();
}

void TfrmMain::cbConstant4Change()
{
    ConstantListChange(ZonePlateConstant);
}

void TfrmMain::btCalculateClick()
{
    if (!ZoneCountAccepted())
        return;
    // Stays disabled until the next change of the inputs.
    ui->btCalculate->setEnabled(false);
    const WaitCursor hourglass;
    ShowZonePlateTable();
}

void TfrmMain::btCreateZPClick()
{
    if (!ZoneCountAccepted())
        return;
    // The dialog deletes itself when it closes.
    QPointer<TFrmCreateZP> dialog = new TFrmCreateZP(ZonePlateInputs(), this);
    dialog->exec();
}

bool TfrmMain::ZoneCountAccepted()
{
    const std::string text = ToStd(ui->edNumZones->text());
    const tools::ZoneCountCheck check = tools::CheckZoneCount(text, nullptr);
    if (check == tools::ZoneCountCheck::Ok)
        return true;
    QMessageBox box(QMessageBox::NoIcon, Str(1), FromStd(tools::ZoneCountMessage(check, text)),
                    QMessageBox::Ok, this);
    box.exec();
    ui->edNumZones->setFocus();
    return false;
}

TZonePlateInputs TfrmMain::ZonePlateInputs() const
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
    inputs.constant = SelectedConstant(ZonePlateConstant);
    return inputs;
}

tools::TZonePlateValues TfrmMain::CalculateZonePlate() const
{
    const TZonePlateInputs in = ZonePlateInputs();
    return tools::CalculateZonePlate(in.zoneCount, in.focalMM, in.wavelengthMM, in.constant);
}

int TfrmMain::NumberOfColors() const
{
    const QScreen *display = screen();
    return display ? display->depth() : 0;
}

void TfrmMain::ResetZonePlateTab()
{
    const bool ready = tools::ZonePlateInputsPositive(
        ToStd(ui->edNumZones->text()), ToStd(ui->edImageDistance4->text()),
        ToStd(ui->edWave4->text()), DecimalSeparator());
    ui->btCalculate->setEnabled(ready);
    ui->btCreateZP->setEnabled(ready);
    ui->edFnumber4->clear();

    TStringAlignGrid *grid = ui->sgridZoneplate;
    // The grid keeps one data row below its header; it is hidden, and emptied so that copying
    // the table cannot bring back a result that no longer stands.
    grid->SetRowHeight(1, 0);
    grid->SetRowCount(2);
    grid->SetCell(0, 1, QString());
    grid->SetCell(1, 1, QString());
    grid->SetColWidth(0, kNumberColumnWidth);
    grid->SetColWidth(1, kDiameterColumnWidth);
    grid->SetCell(0, 0, Str(1607));
    grid->SetGridColor(ButtonFaceColor());
    grid->SetCell(1, 0, FromStd(tools::ZoneTableHeaderText(tools::MainUnit)));
}

// The diameter column's header fits in either length unit, also when the scroll bar takes its
// room; the grid shows as many rows without scrolling as the column widths count on.
void TfrmMain::FitZonePlateGrid()
{
    TStringAlignGrid *grid = ui->sgridZoneplate;
    const QStringList diameterHeaders = {FromStd(tools::ZoneTableHeaderText(0)),
                                         FromStd(tools::ZoneTableHeaderText(1))};
    grid->FitHeaderTexts({kNumberColumnWidth, kNarrowDiameterColumnWidth},
                         {QStringList(), diameterHeaders});
    grid->FitRows(kRowsWithoutScrollBar);
}

void TfrmMain::ShowZonePlateTable()
{
    const tools::TZonePlateValues values = CalculateZonePlate();
    const int n = static_cast<int>(values.size()) - 1;

    TStringAlignGrid *grid = ui->sgridZoneplate;
    grid->SetRowHeight(1, kRowHeight);
    grid->SetRowCount(n + 1);
    if (n > kRowsWithoutScrollBar)
        grid->SetColWidth(1, kNarrowDiameterColumnWidth);
    grid->SetGridColor(WindowColor());
    grid->SetCell(1, 0, FromStd(tools::ZoneTableHeaderText(tools::MainUnit)));
    grid->ClearSelection();

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

    if (ui->PageControl->currentIndex() == kZonePlatePage)
        grid->setFocus();
}

void TfrmMain::sgridZoneplateKeyUp(int key, Qt::KeyboardModifiers modifiers)
{
    if (!modifiers.testFlag(Qt::ControlModifier))
        return;
    TStringAlignGrid *grid = ui->sgridZoneplate;
    if (key == Qt::Key_C) {
        grid->CopyToClipboard();
    } else if (key == Qt::Key_A) {
        grid->ClearSelection();
        grid->SetSelection({0, 1, 1, grid->RowCount() - 1});
    }
}

// The wheel scrolls from a selected cell; without one it starts at the first row.
void TfrmMain::sgridZoneplateMouseWheel()
{
    TStringAlignGrid *grid = ui->sgridZoneplate;
    if (grid->GetSelection().isEmpty())
        grid->SetSelection({0, 1, 0, 1});
}

// A lone selected cell stands out only while the table has the focus.
void TfrmMain::sgridZoneplateEnter()
{
    TStringAlignGrid *grid = ui->sgridZoneplate;
    if (!grid->GetSelection().isSingleCell())
        return;
    grid->SetSelectedCellColor(QApplication::palette().color(QPalette::Highlight));
    grid->SetSelectedFontColor(QColor(255, 255, 255));
}

void TfrmMain::sgridZoneplateExit()
{
    TStringAlignGrid *grid = ui->sgridZoneplate;
    if (!grid->GetSelection().isSingleCell())
        return;
    grid->SetSelectedCellColor(WindowColor());
    grid->SetSelectedFontColor(QApplication::palette().color(QPalette::Text));
}
