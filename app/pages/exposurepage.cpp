// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/pages/exposurepage.h"
#include "ui_exposurepage.h"

#include "app/filmcatalogue.h"
#include "app/pages/exposuresavedialog.h"
#include "app/pages/pageparts.h"
#include "components/guarded.h"
#include "components/messagebox.h"
#include "components/uitext.h"
#include "components/waitcursor.h"
#include "forms/exposurepage_form.h"
#include "tools/cp1252.h"
#include "tools/exposureexport.h"
#include "tools/numtext.h"
#include "tools/optics.h"
#include "tools/settings.h"
#include "tools/stringtable.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace {

// The table in its two states: empty (header only) and filled (18 rows, with narrower columns
// that leave room for the vertical scroll bar).
constexpr int kRowHeight = 16;
constexpr int kEmptyWidths[] = {84, 86};
constexpr int kFilledWidths[] = {77, 78};

// The file types of the save dialog, numbered from 1 in this order.
struct FileType
{
    int textId;
    const char *pattern;
};
constexpr FileType kFileTypes[] = {
    {1818, "*.xls"},
    {1819, "*.txt"},
    {1820, "*.txt"},
    {1821, "*.csv"},
};

constexpr const char *kLastDirSetting = "LastDirExposureTimes";

constexpr Caption kCaptions[] = {
    {"gbFnumber", 1801, Decor::GroupBox},
    {"Label5_01", 1802},
    {"Label5_02", 1803},
    {"gbReciprocityFailure", 1804, Decor::GroupBox},
    {"chbReciprocity", 1805},
    {"Label5_03", 1806},
    {"btCalculate5", 1807, Decor::Calculate},
    {"btSaveExposureTimes", 1808},
};

constexpr NumericField kNumericFields[] = {
    {"edFnumber5", TNumericKeyFilter::Kind::Integer},
};

QVector<int> Widths(const int (&widths)[2])
{
    return {widths[0], widths[1]};
}

} // namespace

void ShowFilmDataError(QWidget *parent, const QString &message)
{
    ShowMessage(parent, message, QMessageBox::Critical, Str(1814));
}

ExposurePage::ExposurePage(const FilmCatalogue &films, QWidget *parent)
    : CalculatorPage(parent), m_films(films)
{}

ExposurePage::~ExposurePage() = default;

// The header texts fit both states of the table: the columns widen by what the texts need
// beyond the narrower widths of the filled table.
GridFit ExposurePage::TableFit()
{
    GridFit fit;
    for (int col = 0; col < 2; ++col)
        fit.narrowest << std::min(kEmptyWidths[col], kFilledWidths[col]);
    fit.headers = {{Str(1809)}, {Str(1810)}};
    return fit;
}

FormPlan ExposurePage::Plan() const
{
    FormPlan plan(formtable::kExposurePage);
    PlanCaptions(plan, kCaptions);
    plan.SetGrid("sgridExposureTimes", TableFit());
    return plan;
}

void ExposurePage::Build()
{
    ui = std::make_unique<Ui::ExposurePage>();
    ui->setupUi(this);
    SetCaptions(this, kCaptions);
    InstallKeyFilters(this, kNumericFields);
    GreyResultFields(this);
    ui->cbFilmName->setAccessibleName(WithoutColon(ui->chbReciprocity->text()));
    ui->sgridExposureTimes->setAccessibleName(Str(1800));
    ExposureTimeLabels =
        tools::CompleteExposureTimeLabels(tools::StoredExposureTimeLabels(), tools::LoadStr(1811),
                                          tools::LoadStr(1812), tools::LoadStr(1813));

    TResultGrid *grid = ui->sgridExposureTimes;
    grid->SetColCount(2);
    grid->SetDefaultRowHeight(kRowHeight);
    grid->SetHeaderAlignment(Qt::AlignHCenter);
    for (int col = 0; col < 2; ++col)
        grid->SetColumnAlignment(col, Qt::AlignLeft);

    ConnectGuarded(ui->edFnumber5, &QLineEdit::textChanged, this, &ExposurePage::edFnumber5Change);
    // Also when the check box is cleared in code (no films to choose from does that).
    ConnectGuarded(ui->chbReciprocity, &QCheckBox::toggled, this,
                   &ExposurePage::chbReciprocityClick);
    ConnectGuarded(ui->cbFilmName, &QComboBox::currentIndexChanged, this,
                   &ExposurePage::ResetExposureTable);
    ConnectGuarded(ui->btCalculate5, &QPushButton::clicked, this, &ExposurePage::btCalculate5Click);
    ConnectGuarded(ui->btSaveExposureTimes, &QPushButton::clicked, this,
                   &ExposurePage::btSaveExposureTimesClick);

    ResetExposureTable();
    grid->Fit(TableFit());
    FillFilmList();
    ShowReciprocityAvailability();
}

void ExposurePage::PreferencesChanged(TFrmPreferences::Changes changes)
{
    if (changes.testFlag(TFrmPreferences::Change::Rounding) &&
        ui->sgridExposureTimes->RowCount() > 2)
        FillExposureTable();
}

QPushButton *ExposurePage::DefaultButton() const
{
    return ui ? ui->btCalculate5 : nullptr;
}

void ExposurePage::FilmsChanged()
{
    if (!ui)
        return;
    FillFilmList();
    ShowReciprocityAvailability();
    ResetExposureTable();
}

void ExposurePage::edFnumber5Change()
{
    ResetExposureTable();
    UpdateExposureFactor();
}

void ExposurePage::chbReciprocityClick()
{
    ResetExposureTable();
    ShowFilmListState();
}

// The film list is active, in the window colour, exactly when correction is switched on.
void ExposurePage::ShowFilmListState()
{
    const bool on = ui->chbReciprocity->isChecked();
    ui->cbFilmName->setEnabled(on);
    const QColor colour = QApplication::palette().color(on ? QPalette::Base : QPalette::Button);
    QPalette palette = ui->cbFilmName->palette();
    palette.setColor(QPalette::Base, colour);
    palette.setColor(QPalette::Button, colour);
    ui->cbFilmName->setPalette(palette);
}

void ExposurePage::btCalculate5Click()
{
    // Stays disabled until the next change of the inputs.
    ui->btCalculate5->setEnabled(false);
    const WaitCursor hourglass;
    FillExposureTable();
}

void ExposurePage::ResetExposureTable()
{
    if (!ui)
        return;
    const double fNumber = tools::TextToNumber(ToStd(ui->edFnumber5->text()), DecimalSeparator());
    const bool complete = tools::InputsComplete(fNumber, ui->chbReciprocity->isChecked(),
                                                ui->cbFilmName->currentIndex() >= 0);
    ui->btCalculate5->setEnabled(complete);
    ui->btSaveExposureTimes->setEnabled(complete);

    TResultGrid *grid = ui->sgridExposureTimes;
    grid->ShowEmpty(Widths(kEmptyWidths));
    grid->SetCell(0, 0, Str(1809));
    grid->SetCell(1, 0, Str(1810));
}

void ExposurePage::UpdateExposureFactor()
{
    ui->edFnumberFactor5->setText(
        FromStd(tools::ExposureFactorText(ToStd(ui->edFnumber5->text()), DecimalSeparator())));
}

// The film chosen in the list when correction is on, else none. Of two films with the same
// name the first one counts, whichever of the two items was chosen.
const tools::TFilmRecord *ExposurePage::SelectedFilm() const
{
    if (!ui->chbReciprocity->isChecked())
        return nullptr;
    const int index = ui->cbFilmName->currentIndex();
    if (index < 0 || index >= static_cast<int>(m_filmList.size()))
        return nullptr;
    return tools::FindSelectedFilm(m_filmList, m_filmList[static_cast<std::size_t>(index)].Name);
}

std::optional<tools::ExposureResult> ExposurePage::ComputeExposureTimes()
{
    const double fNumber = tools::TextToNumber(ToStd(ui->edFnumber5->text()), DecimalSeparator());
    const tools::TFilmRecord *film = SelectedFilm();
    tools::ExposureResult result = tools::ComputeExposureTimes(fNumber, film);
    if (result.FormulaBroken) {
        ShowFilmDataError(this, FromStd(tools::BrokenFormulaMessage(*film)));
        return std::nullopt;
    }
    return result;
}

void ExposurePage::FillExposureTable()
{
    const std::optional<tools::ExposureResult> result = ComputeExposureTimes();
    if (!result)
        return;

    TResultGrid *grid = ui->sgridExposureTimes;
    grid->ShowFilled(tools::kExposureRows, Widths(kFilledWidths));
    const int firstRed = result->FirstOutOfRangeRow;
    for (int row = 1; row <= tools::kExposureRows; ++row) {
        const std::size_t k = static_cast<std::size_t>(row - 1);
        grid->SetCell(0, row, FromStd(ExposureTimeLabels[k]));
        grid->SetCell(1, row,
                      FromStd(tools::FormatExposureTime(tools::ExpTimeFormat, result->Times[k],
                                                        DecimalSeparator())));
        const bool beyondModel = firstRed != 0 && row >= firstRed;
        grid->SetCellFontColor(0, row, Qt::black);
        grid->SetCellFontColor(1, row, beyondModel ? Qt::red : Qt::black);
    }

    if (isVisible())
        grid->setFocus();
}

void ExposurePage::btSaveExposureTimesClick()
{
    // A film whose data cannot be read is reported before the user picks a file. The inputs
    // cannot change while the modal dialog is open, so these are the times at the moment of
    // saving.
    const std::optional<tools::ExposureResult> result = ComputeExposureTimes();
    if (!result)
        return;

    if (savedlgExposureTimes == nullptr)
        savedlgExposureTimes =
            new TExposureSaveDialog(window(), [this](const QString &fileName, int filterIndex) {
                bool canClose = true;
                Guarded(savedlgExposureTimes,
                        [&] { canClose = savedlgExposureTimesCanClose(fileName, filterIndex); });
                return canClose;
            });
    TExposureSaveDialog &dialog = *savedlgExposureTimes;

    QStringList filters;
    for (const FileType &type : kFileTypes)
        filters << Str(type.textId) + QStringLiteral(" (") + QLatin1String(type.pattern) + u')';
    dialog.SetFilters(filters);

    QString initialFolder;
    try {
        if (tools::SettingExists(kLastDirSetting)) {
            const QString folder = FromStd(tools::ReadSettingString(kLastDirSetting));
            if (!folder.isEmpty() && QFileInfo(folder).isDir())
                initialFolder = folder;
        }
    } catch (const tools::SettingsError &) {
        // The remembered folder is a convenience: without it the dialog opens where it was.
    }

    if (dialog.Run(initialFolder) != QDialog::Accepted)
        return;
    const int filterIndex = dialog.FilterIndex();
    const QString path =
        FromStd(tools::ValidateExposureFileName(ToStd(dialog.FileName()), filterIndex));
    if (path.isEmpty())
        return;

    window()->repaint();
    ExportExposureTable(path, filterIndex, *result);
    // Also after a failed save: the user will most likely try the same folder again.
    tools::WriteSettingString(kLastDirSetting,
                              ToStd(QDir::toNativeSeparators(QFileInfo(path).absolutePath())));
}

// Runs when the user confirms a name in the save dialog; false keeps the dialog open with the
// name as typed.
bool ExposurePage::savedlgExposureTimesCanClose(const QString &fileName, int filterIndex)
{
    const QString path = FromStd(tools::ValidateExposureFileName(ToStd(fileName), filterIndex));
    if (path.isEmpty() || !QFileInfo::exists(path))
        return true;
    const QString question =
        FromStd(tools::ExposureReplaceQuestionText(ToStd(QDir::toNativeSeparators(path))));
    return AskYesNo(savedlgExposureTimes, question);
}

// Writes the table as the tab shows it, in the file type of the dialog's filterIndex. The file
// is written whole or not at all; a failure is reported with the path.
void ExposurePage::ExportExposureTable(const QString &path, int filterIndex,
                                       const tools::ExposureResult &result)
{
    bool saved = false;
    {
        const WaitCursor hourglass;
        const std::string fNumberText = ToStd(ui->edFnumber5->text());
        const std::string factorText = ToStd(ui->edFnumberFactor5->text());
        const std::string filmName = ToStd(ui->cbFilmName->currentText());
        tools::ExportInputs inputs;
        inputs.FNumberText = fNumberText;
        inputs.FactorText = factorText;
        inputs.Reciprocity = ui->chbReciprocity->isChecked();
        inputs.FilmName = filmName;
        inputs.FilmDBVersion = m_films.Version;
        inputs.Labels = &ExposureTimeLabels;
        inputs.Times = &result.Times;
        inputs.Mode = tools::ExpTimeFormat;
        inputs.DecSep = DecimalSeparator();
        saved = tools::ExportExposureTable(ToStd(path), tools::ExposureExportKind(filterIndex),
                                           tools::MakeExportTexts(inputs));
    }
    if (!saved)
        ShowMessage(window(),
                    FromStd(tools::ExposureSaveFailedText(ToStd(QDir::toNativeSeparators(path)))));
}

// The shipped films, then the own ones; the film chosen stays chosen while it is there.
void ExposurePage::FillFilmList()
{
    m_filmList = m_films.List();
    TEnhCombo *list = ui->cbFilmName;
    const QString chosen = list->currentIndex() >= 0 ? list->currentText() : QString();
    {
        // Filling the list is no choice of the user's.
        const QSignalBlocker blocker(list);
        list->clear();
        for (const tools::TFilmRecord &film : m_filmList)
            list->addItem(FromStd(tools::Cp1252ToUtf8(film.Name)));
        list->setCurrentIndex(chosen.isEmpty() ? -1 : list->findText(chosen));
    }
    list->SetDropDownFixedWidth(0);
    list->setMaxVisibleItems(9);
}

void ExposurePage::ShowReciprocityAvailability()
{
    if (m_films.Available()) {
        ui->chbReciprocity->setEnabled(true);
        ShowFilmListState();
        return;
    }
    // As if the user cleared the box; then it stays off until there are films.
    {
        const QSignalBlocker blocker(ui->chbReciprocity);
        ui->chbReciprocity->setChecked(false);
    }
    chbReciprocityClick();
    ui->chbReciprocity->setEnabled(false);
    ui->cbFilmName->setEnabled(false);
}
