// SPDX-License-Identifier: GPL-3.0-or-later
// The exposure tab: exposure times for the camera's f number, with the film database.
#include "app/frmmain.h"
#include "ui_frmmain.h"

#include "components/savefolder.h"
#include "components/uitext.h"
#include "components/waitcursor.h"
#include "tools/cp1252.h"
#include "tools/exposureexport.h"
#include "tools/numtext.h"
#include "tools/optics.h"
#include "tools/settings.h"
#include "tools/stringtable.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>

#include <algorithm>
#include <functional>
#include <utility>

namespace {

// The grid in its two states: empty (header only, grey) and filled (18 rows, white, with
// narrower columns that leave room for the vertical scroll bar).
constexpr int kRowHeight = 16;
constexpr int kEmptyRows = 2;
constexpr int kFilledRows = tools::kExposureRows + 1;
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

QColor WindowColour()
{
    return QApplication::palette().color(QPalette::Base);
}

QColor ButtonFaceColour()
{
    return QApplication::palette().color(QPalette::Button);
}

// A message box over parent. The hourglass of a lengthy action gives way to the normal
// pointer while the box waits for the user.
QMessageBox::StandardButton ShowMessage(QWidget *parent, QMessageBox::Icon icon,
                                        const QString &caption, const QString &text,
                                        QMessageBox::StandardButtons buttons = QMessageBox::Ok)
{
    const bool busy = QApplication::overrideCursor() != nullptr;
    if (busy)
        QApplication::setOverrideCursor(QCursor(Qt::ArrowCursor));
    QMessageBox box(icon, caption, text, buttons, parent);
    const auto answer = static_cast<QMessageBox::StandardButton>(box.exec());
    if (busy)
        QApplication::restoreOverrideCursor();
    return answer;
}

std::vector<std::string> &FilmDatabasePathOverride()
{
    static std::vector<std::string> paths;
    return paths;
}

} // namespace

// The save dialog of the exposure table. It is Qt's own dialog rather than the platform's, so
// that the question before replacing a file is the program's own and is asked for the name as
// completed with the extension of the chosen file type. Its owner answers whether it may close
// on the confirmed name; the name and the file type chosen last are offered again next time.
class TExposureSaveDialog : public QFileDialog
{
public:
    using CanClose = std::function<bool(const QString &fileName, int filterIndex)>;

    TExposureSaveDialog(QWidget *parent, CanClose canClose)
        : QFileDialog(parent), m_canClose(std::move(canClose))
    {
        setAcceptMode(QFileDialog::AcceptSave);
        setFileMode(QFileDialog::AnyFile);
        setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite);

        // Qt's dialog gives the typed name the extension of a newly chosen file type; here the
        // extension is settled only when the dialog closes, so the name stays as typed (with
        // "CSV", data.dat is saved as data.dat.csv, not data.csv). The list changes its index
        // before it reports the choice, and the dialog renames on the report.
        auto *types = findChild<QComboBox *>(QStringLiteral("fileTypeCombo"));
        auto *name = findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        if (types != nullptr && name != nullptr) {
            connect(types, &QComboBox::currentIndexChanged, this, [this, name] {
                m_nameBeforeTypeChange = name->text();
                m_typeChanging = true;
            });
            connect(types, &QComboBox::activated, this, [this, name] {
                if (m_typeChanging && name->text() != m_nameBeforeTypeChange)
                    name->setText(m_nameBeforeTypeChange);
                m_typeChanging = false;
            });
        }
    }

    // The filter list is built anew for every save; the file type chosen last stays selected.
    void SetFilters(const QStringList &filters)
    {
        setNameFilters(filters);
        if (m_filterIndex >= 1 && m_filterIndex <= filters.size())
            selectNameFilter(filters[m_filterIndex - 1]);
        m_typeChanging = false;
    }

    // The file type selected in the dialog, counted from 1.
    int FilterIndex() const { return nameFilters().indexOf(selectedNameFilter()) + 1; }

    QString FileName() const
    {
        const QStringList files = selectedFiles();
        return files.isEmpty() ? QString() : files.first();
    }

    int Run(const QString &initialFolder)
    {
        if (!initialFolder.isEmpty())
            setDirectory(initialFolder);
        if (!m_lastName.isEmpty())
            selectFile(m_lastName);
        const int result = exec();
        if (result == QDialog::Accepted) {
            m_filterIndex = FilterIndex();
            m_lastName = QFileInfo(FileName()).fileName();
        }
        return result;
    }

    void accept() override
    {
        // A folder typed as the name is opened by the dialog itself; only a file name is
        // put to the owner.
        const QString name = FileName();
        if (!name.isEmpty() && !QFileInfo(name).isDir() &&
            (!SaveFolderExists(this, name) || (m_canClose && !m_canClose(name, FilterIndex()))))
            return;
        QFileDialog::accept();
    }

private:
    CanClose m_canClose;
    int m_filterIndex = 1;
    QString m_lastName;
    QString m_nameBeforeTypeChange;
    bool m_typeChanging = false;
};

void TfrmMain::SetFilmDatabasePaths(std::vector<std::string> paths)
{
    FilmDatabasePathOverride() = std::move(paths);
}

void TfrmMain::WireExposureTab()
{
    Wire(ui->edFnumber5, &QLineEdit::textChanged, &TfrmMain::edFnumber5Change);
    // Also when the check box is cleared in code (a missing film database does that).
    Wire(ui->chbReciprocity, &QCheckBox::toggled, &TfrmMain::chbReciprocityClick);
    Wire(ui->cbFilmName, &QComboBox::currentIndexChanged, &TfrmMain::cbFilmNameChange);
    Wire(ui->btCalculate5, &QPushButton::clicked, &TfrmMain::btCalculate5Click);
    Wire(ui->btSaveExposureTimes, &QPushButton::clicked, &TfrmMain::btSaveExposureTimesClick);

    TStringAlignGrid *grid = ui->sgridExposureTimes;
    connect(grid, &TStringAlignGrid::keyReleased, this,
            [this](int key, Qt::KeyboardModifiers modifiers) {
                Guarded(this, [&] { sgridExposureTimesKeyUp(key, modifiers); });
            });
    Wire(grid, &TStringAlignGrid::wheelTurned, &TfrmMain::sgridExposureTimesMouseWheel);
    Wire(grid, &TStringAlignGrid::focusEntered, &TfrmMain::sgridExposureTimesEnter);
    Wire(grid, &TStringAlignGrid::focusLeft, &TfrmMain::sgridExposureTimesExit);
}

void TfrmMain::edFnumber5Change()
{
    ResetExposureTable();
    UpdateExposureFactor();
}

void TfrmMain::chbReciprocityClick()
{
    ResetExposureTable();
    ShowFilmListState();
}

// The film list is active, in the window colour, exactly when correction is switched on.
void TfrmMain::ShowFilmListState()
{
    const bool on = ui->chbReciprocity->isChecked();
    ui->cbFilmName->setEnabled(on);
    const QColor colour = on ? WindowColour() : ButtonFaceColour();
    QPalette palette = ui->cbFilmName->palette();
    palette.setColor(QPalette::Base, colour);
    palette.setColor(QPalette::Button, colour);
    ui->cbFilmName->setPalette(palette);
}

void TfrmMain::cbFilmNameChange()
{
    ResetExposureTable();
}

void TfrmMain::btCalculate5Click()
{
    // Stays disabled until the next change of the inputs.
    ui->btCalculate5->setEnabled(false);
    const WaitCursor hourglass;
    FillExposureTable();
}

void TfrmMain::ResetExposureTable()
{
    const double fNumber = tools::TextToNumber(ToStd(ui->edFnumber5->text()), DecimalSeparator());
    const bool complete = tools::InputsComplete(fNumber, ui->chbReciprocity->isChecked(),
                                                ui->cbFilmName->currentIndex() >= 0);
    ui->btCalculate5->setEnabled(complete);
    ui->btSaveExposureTimes->setEnabled(complete);

    TStringAlignGrid *grid = ui->sgridExposureTimes;
    grid->SetRowCount(kEmptyRows);
    grid->SetDefaultRowHeight(kRowHeight);
    grid->SetRowHeight(1, 0);
    for (int col = 0; col < 2; ++col) {
        grid->SetColWidth(col, kEmptyWidths[col]);
        grid->SetColumnAlignment(col, Qt::AlignLeft);
        // The hidden data row keeps nothing of an earlier table, so that copying the empty
        // grid copies no old times.
        grid->SetCell(col, 1, QString());
        grid->SetCellFontColor(col, 1, Qt::black);
    }
    grid->SetCell(0, 0, Str(1809));
    grid->SetCell(1, 0, Str(1810));
    grid->SetHeaderAlignment(Qt::AlignHCenter);
    grid->ClearRowColors();
    grid->SetGridColor(ButtonFaceColour());
    grid->ClearSelection();
}

// The header texts fit both states of the grid: the columns widen by what the texts need beyond
// the narrower widths of the filled grid.
void TfrmMain::FitExposureGrid()
{
    QVector<int> narrowest;
    for (int col = 0; col < 2; ++col)
        narrowest << std::min(kEmptyWidths[col], kFilledWidths[col]);
    ui->sgridExposureTimes->FitHeaderTexts(narrowest);
}

void TfrmMain::UpdateExposureFactor()
{
    ui->edFnumberFactor5->setText(
        FromStd(tools::ExposureFactorText(ToStd(ui->edFnumber5->text()), DecimalSeparator())));
}

// The film chosen in the list when correction is on, else none. Of two films with the same
// name the first one counts, whichever of the two items was chosen.
const tools::TFilmRecord *TfrmMain::SelectedFilm() const
{
    if (!ui->chbReciprocity->isChecked())
        return nullptr;
    const int index = ui->cbFilmName->currentIndex();
    if (index < 0 || index >= static_cast<int>(m_filmList.size()))
        return nullptr;
    return tools::FindSelectedFilm(m_filmList, m_filmList[static_cast<std::size_t>(index)].Name);
}

// The times of the table from the tab's inputs; nothing, after a message naming the film,
// when the chosen film's reciprocity data cannot be read.
std::optional<tools::ExposureResult> TfrmMain::ComputeExposureTimes()
{
    const double fNumber = tools::TextToNumber(ToStd(ui->edFnumber5->text()), DecimalSeparator());
    const tools::TFilmRecord *film = SelectedFilm();
    tools::ExposureResult result = tools::ComputeExposureTimes(fNumber, film);
    if (result.FormulaBroken) {
        ShowFilmDataError(FromStd(tools::BrokenFormulaMessage(*film)));
        return std::nullopt;
    }
    return result;
}

void TfrmMain::FillExposureTable()
{
    const std::optional<tools::ExposureResult> result = ComputeExposureTimes();
    if (!result)
        return;

    TStringAlignGrid *grid = ui->sgridExposureTimes;
    grid->SetRowCount(kFilledRows);
    grid->SetRowHeight(1, kRowHeight);
    for (int col = 0; col < 2; ++col)
        grid->SetColWidth(col, kFilledWidths[col]);
    grid->ClearRowColors();
    grid->SetGridColor(WindowColour());
    grid->ClearSelection();

    const int firstRed = result->FirstOutOfRangeRow;
    for (int row = 1; row < kFilledRows; ++row) {
        const std::size_t k = static_cast<std::size_t>(row - 1);
        grid->SetCell(0, row, FromStd(ExposureTimeLabels[k]));
        grid->SetCell(1, row,
                      FromStd(tools::FormatExposureTime(tools::ExpTimeFormat, result->Times[k],
                                                        DecimalSeparator())));
        const bool beyondModel = firstRed != 0 && row >= firstRed;
        grid->SetCellFontColor(1, row, beyondModel ? Qt::red : Qt::black);
    }

    if (ui->PageControl->currentWidget() == ui->TabSheet5)
        grid->setFocus();
}

void TfrmMain::btSaveExposureTimesClick()
{
    // A film whose data cannot be read is reported before the user picks a file. The inputs
    // cannot change while the modal dialog is open, so these are the times at the moment of
    // saving.
    const std::optional<tools::ExposureResult> result = ComputeExposureTimes();
    if (!result)
        return;

    if (savedlgExposureTimes == nullptr)
        savedlgExposureTimes =
            new TExposureSaveDialog(this, [this](const QString &fileName, int filterIndex) {
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

    repaint();
    ExportExposureTable(path, filterIndex, *result);
    // Also after a failed save: the user will most likely try the same folder again.
    tools::WriteSettingString(kLastDirSetting,
                              ToStd(QDir::toNativeSeparators(QFileInfo(path).absolutePath())));
}

// Runs when the user confirms a name in the save dialog; false keeps the dialog open with the
// name as typed.
bool TfrmMain::savedlgExposureTimesCanClose(const QString &fileName, int filterIndex)
{
    const QString path = FromStd(tools::ValidateExposureFileName(ToStd(fileName), filterIndex));
    if (path.isEmpty() || !QFileInfo::exists(path))
        return true;
    const QString question =
        FromStd(tools::ExposureReplaceQuestionText(ToStd(QDir::toNativeSeparators(path))));
    return ShowMessage(savedlgExposureTimes, QMessageBox::NoIcon, Str(1), question,
                       QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

// Writes the table as the tab shows it, in the file type of the dialog's filterIndex. The file
// is written whole or not at all; a failure is reported with the path.
void TfrmMain::ExportExposureTable(const QString &path, int filterIndex,
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
        inputs.FilmDBVersion = m_filmDBVersion;
        inputs.Labels = &ExposureTimeLabels;
        inputs.Times = &result.Times;
        inputs.Mode = tools::ExpTimeFormat;
        inputs.DecSep = DecimalSeparator();
        saved = tools::ExportExposureTable(ToStd(path), tools::ExposureExportKind(filterIndex),
                                           tools::MakeExportTexts(inputs));
    }
    if (!saved)
        ShowMessage(this, QMessageBox::NoIcon, Str(1),
                    FromStd(tools::ExposureSaveFailedText(ToStd(QDir::toNativeSeparators(path)))));
}

// Ctrl+C copies the selected cells (the whole grid when none are selected); Ctrl+A selects
// every data cell.
void TfrmMain::sgridExposureTimesKeyUp(int key, Qt::KeyboardModifiers modifiers)
{
    if (!modifiers.testFlag(Qt::ControlModifier))
        return;
    TStringAlignGrid *grid = ui->sgridExposureTimes;
    if (key == Qt::Key_C) {
        grid->CopyToClipboard();
    } else if (key == Qt::Key_A) {
        grid->ClearSelection();
        grid->SetSelection({0, 1, grid->ColCount() - 1, grid->RowCount() - 1});
    }
}

// The wheel moves the selection, so there has to be one to move.
void TfrmMain::sgridExposureTimesMouseWheel()
{
    TStringAlignGrid *grid = ui->sgridExposureTimes;
    if (grid->GetSelection().isEmpty())
        grid->SetSelection({0, 1, 0, 1});
}

// With the focus the selection shows in the highlight colours. (Restored whatever is
// selected: a block chosen after the grid lost the focus with a single cell selected would
// otherwise stay invisible.)
void TfrmMain::sgridExposureTimesEnter()
{
    TStringAlignGrid *grid = ui->sgridExposureTimes;
    grid->SetSelectedCellColor(
        QApplication::palette().color(QPalette::Active, QPalette::Highlight));
    grid->SetSelectedFontColor(Qt::white);
}

// Without the focus a single selected cell looks like any other cell.
void TfrmMain::sgridExposureTimesExit()
{
    TStringAlignGrid *grid = ui->sgridExposureTimes;
    if (!grid->GetSelection().isSingleCell())
        return;
    grid->SetSelectedCellColor(WindowColour());
    grid->SetSelectedFontColor(QApplication::palette().color(QPalette::Text));
}

void TfrmMain::LoadFilmDatabase()
{
    std::vector<std::string> paths = FilmDatabasePathOverride();
    if (paths.empty())
        paths = tools::FilmDatabasePaths(ToStd(QCoreApplication::applicationDirPath()));
    tools::FilmDatabase database = tools::LoadFirstFilmDatabase(paths);
    m_films = std::move(database.Films);
    m_filmDBVersion = std::move(database.FilmDBVersion);
    m_filmDatabaseLoaded = database.Status == tools::FilmDatabaseStatus::Ok;
    if (!m_filmDatabaseLoaded)
        ShowFilmDataError(Str(database.Status == tools::FilmDatabaseStatus::Missing ? 1815 : 1826));
    // The user's own films stay usable without the shipped ones.
    LoadOwnFilms(database.Path);
    FillFilmList();
    ShowReciprocityAvailability();
}

void TfrmMain::ShowFilmDataError(const QString &message)
{
    ShowMessage(this, QMessageBox::Critical, Str(1814), message);
}

void TfrmMain::CompleteExposureTimeLabels()
{
    ExposureTimeLabels =
        tools::CompleteExposureTimeLabels(tools::StoredExposureTimeLabels(), tools::LoadStr(1811),
                                          tools::LoadStr(1812), tools::LoadStr(1813));
}
