// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/frmcreatezp.h"
#include "ui_frmcreatezp.h"

#include "components/fittext.h"
#include "components/guarded.h"
#include "components/keyfilter.h"
#include "components/messagebox.h"
#include "components/savefolder.h"
#include "components/uitext.h"
#include "components/waitcursor.h"
#include "tools/settings.h"
#include "tools/stringtable.h"
#include "tools/zoneplate.h"
#include "tools/zoneplatepdf.h"
#include "tools/zoneplateprint.h"
#include "tools/zoneplatesvg.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>

#include <functional>
#include <optional>
#include <utility>

namespace {

constexpr const char *kLastDirSetting = "LastDirZonePlate";
constexpr const char *kPrinterDpiSetting = "PrinterDpi";

// The dialog grew from its first 218 by 151 pixels by the printer resolution and the line of
// the print check.
constexpr QSize kDialogSize(300, 248);

// The colour of a print check that warns.
const QColor kWarningColour(255, 0, 0);

// The save dialog asks its owner before it closes on a confirmed name, so that the question
// before replacing a file can send the user back to the dialog with the name kept.
class TZonePlateSaveDialog : public QFileDialog
{
public:
    using CanClose = std::function<bool(const QString &name, const QString &nameFilter)>;

    TZonePlateSaveDialog(QWidget *parent, CanClose canClose)
        : QFileDialog(parent), m_canClose(std::move(canClose))
    {}

    void accept() override
    {
        const QStringList files = selectedFiles();
        // A folder name opens the folder; the base class does that.
        if (!files.isEmpty() && !QFileInfo(files.first()).isDir() &&
            (!SaveFolderExists(this, files.first()) ||
             !m_canClose(files.first(), selectedNameFilter())))
            return;
        QFileDialog::accept();
    }

private:
    CanClose m_canClose;
};

QString PdfFilter()
{
    return Str(1628) + QStringLiteral(" (*.pdf)");
}

QString SvgFilter()
{
    return Str(1634) + QStringLiteral(" (*.svg)");
}

// The name completed as it will be written: a name ending in ".pdf" or ".svg" is written as
// that kind, any other gets the extension of the file type chosen in the save dialog.
tools::ZonePlateFileName CompletedName(const QString &fileName, const QString &nameFilter)
{
    const tools::ZonePlateFileKind chosen =
        nameFilter == SvgFilter() ? tools::ZonePlateFileKind::Svg : tools::ZonePlateFileKind::Pdf;
    return tools::CompleteZonePlateFileName(ToStd(QDir::toNativeSeparators(fileName)), chosen);
}

// The printer resolution last saved with a plate; empty when none, or when the stored value
// is not one the field accepts.
std::optional<int> StoredPrinterDpi()
{
    try {
        if (!tools::SettingExists(kPrinterDpiSetting))
            return std::nullopt;
        const std::int32_t dpi = tools::ReadSettingInteger(kPrinterDpiSetting);
        if (dpi < tools::kMinPrinterDpi || dpi > tools::kMaxPrinterDpi)
            return std::nullopt;
        return dpi;
    } catch (const tools::SettingsError &) {
        // A damaged value only costs the default resolution.
        return std::nullopt;
    }
}

// The folder of the last saved plate, when it still exists.
QString LastFolder()
{
    std::string stored;
    try {
        if (tools::SettingExists(kLastDirSetting))
            stored = tools::ReadSettingString(kLastDirSetting);
    } catch (const tools::SettingsError &) {
        // Only a starting point for the save dialog: without it the dialog opens elsewhere.
        return {};
    }
    const QString folder = FromStd(stored);
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        return {};
    return folder;
}

} // namespace

TFrmCreateZP::TFrmCreateZP(const TZonePlateInputs &inputs, QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::TFrmCreateZP>()), m_inputs(inputs)
{
    ui->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlags((windowFlags() | Qt::MSWindowsFixedSizeDialogHint) &
                   ~Qt::WindowContextHelpButtonHint);
    setFixedSize(kDialogSize);

    ConnectGuarded(ui->chbMagnification, &QCheckBox::toggled, this,
                   &TFrmCreateZP::chbMagnificationClick);
    ConnectGuarded(ui->btSave, &QPushButton::clicked, this, &TFrmCreateZP::btSaveClick);
    ConnectGuarded(ui->btCancel, &QPushButton::clicked, this, &TFrmCreateZP::btCancelClick);
    // The print check follows every change of the enlargement and the resolution.
    ConnectGuarded(ui->chbMagnification, &QCheckBox::toggled, this,
                   &TFrmCreateZP::UpdatePrintCheck);
    ConnectGuarded(ui->edMagnification, &QLineEdit::textChanged, this,
                   &TFrmCreateZP::UpdatePrintCheck);
    ConnectGuarded(ui->edPrinterDpi, &QLineEdit::textChanged, this,
                   &TFrmCreateZP::UpdatePrintCheck);

    FormCreate();
    setFixedSize(FitFormToText(this));
}

TFrmCreateZP::~TFrmCreateZP() = default;

void TFrmCreateZP::FormCreate()
{
    setWindowTitle(QLatin1Char(' ') + Str(1617));
    ui->btSave->setText(Str(1618));
    ui->btCancel->setText(Str(2104));
    ui->rbPozitive->setText(Str(1619));
    ui->rbNegative->setText(Str(1620));
    ui->chbMagnification->setText(Str(1621));
    ui->Label2->setText(Str(1629));
    ui->Label2->setBuddy(ui->edPrinterDpi);

    // The factor and the resolution take digits only (FormKeyPress).
    TNumericKeyFilter::Install(ui->edMagnification, TNumericKeyFilter::Kind::Integer);
    TNumericKeyFilter::Install(ui->edPrinterDpi, TNumericKeyFilter::Kind::Integer);
    chbMagnificationClick();

    // The tab's inputs cannot change while the dialog is open: one plate serves every check.
    m_values = tools::CalculateZonePlate(m_inputs.zoneCount, m_inputs.focalMM,
                                         m_inputs.wavelengthMM, m_inputs.constant);
    m_storedDpi = StoredPrinterDpi();
    ui->edPrinterDpi->setText(QString::number(m_storedDpi.value_or(tools::kDefaultPrinterDpi)));
    UpdatePrintCheck();
}

std::optional<std::int32_t> TFrmCreateZP::Magnification() const
{
    const QString factorText = ui->edMagnification->text();
    if (!ui->chbMagnification->isChecked() || factorText.isEmpty())
        return 1;
    const std::optional<std::int32_t> factor = tools::ParseWholeNumber(ToStd(factorText));
    if (!factor || *factor < 2)
        return std::nullopt;
    return factor;
}

void TFrmCreateZP::UpdatePrintCheck()
{
    QLabel *line = ui->lbPrintCheck;
    const std::optional<int> dpi = tools::ParsePrinterDpi(ToStd(ui->edPrinterDpi->text()));
    const std::optional<std::int32_t> m = Magnification();
    bool warn = false;
    if (!dpi) {
        // Said calmly: the user may be in the middle of typing the number.
        line->setText(FromStd(tools::PrinterDpiRangeText()));
    } else if (!m) {
        // Save will explain what is wrong with the factor; until then there is nothing to check.
        line->clear();
    } else {
        const tools::ZonePlatePrintCheck check = tools::CheckZonePlatePrint(m_values, *m, *dpi);
        line->setText(FromStd(tools::PrintCheckText(check, *dpi, tools::MainUnit, tools::DecNum,
                                                    DecimalSeparator())));
        warn = check.tooFine;
    }
    QPalette palette = QApplication::palette(line);
    if (warn)
        palette.setColor(QPalette::WindowText, kWarningColour);
    line->setPalette(palette);
}

void TFrmCreateZP::chbMagnificationClick()
{
    const bool enlarge = ui->chbMagnification->isChecked();
    QLineEdit *field = ui->edMagnification;
    field->setEnabled(enlarge);
    // Window colour while the factor counts, button face while it is ignored; the text stays.
    QPalette palette = field->palette();
    palette.setColor(QPalette::Base,
                     QApplication::palette().color(enlarge ? QPalette::Base : QPalette::Button));
    field->setPalette(palette);
    if (enlarge)
        field->setFocus();
}

void TFrmCreateZP::btCancelClick()
{
    reject();
}

void TFrmCreateZP::btSaveClick()
{
    const QString factorText = ui->edMagnification->text();
    std::int32_t magnification = 1;
    if (ui->chbMagnification->isChecked() && !factorText.isEmpty()) {
        // Digits alone pass the key filter; a number beyond 32 bits can still arrive.
        const std::optional<std::int32_t> factor = tools::ParseWholeNumber(ToStd(factorText));
        if (!factor) {
            ShowMessage(this, FromStd(tools::FormatStr(2008, ToStd(factorText))));
            FocusMagnification();
            return;
        }
        if (*factor < 2) {
            ShowMessage(this, Str(1622));
            FocusMagnification();
            return;
        }
        magnification = *factor;
    }
    const bool negative = ui->rbNegative->isChecked();

    // The side the writer will give the page, refused above the largest PDF page.
    const tools::TZonePlateValues values = tools::CalculateZonePlate(
        m_inputs.zoneCount, m_inputs.focalMM, m_inputs.wavelengthMM, m_inputs.constant);
    if (tools::PageTooLarge(tools::ZonePlatePageSide(values, magnification))) {
        ShowMessage(this, Str(1623));
        if (ui->edMagnification->isEnabled())
            FocusMagnification();
        return;
    }

    hide();
    QWidget *mainWindow = parentWidget() ? parentWidget()->window() : nullptr;
    if (mainWindow)
        mainWindow->repaint();

    const Target target = RunSaveDialog();
    if (!target.name.isEmpty()) {
        if (mainWindow)
            mainWindow->repaint();
        WritePlate(target, negative, magnification);
    }
    done(target.name.isEmpty() ? QDialog::Rejected : QDialog::Accepted);
}

TFrmCreateZP::Target TFrmCreateZP::RunSaveDialog()
{
    TZonePlateSaveDialog dialog(parentWidget(),
                                [this](const QString &name, const QString &nameFilter) {
                                    return SaveDialogCanClose(name, nameFilter);
                                });
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // Qt's own dialog, so that the replace question is ours and asked for the completed name.
    dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite);
    dialog.setNameFilters({PdfFilter(), SvgFilter()});
    if (const QString folder = LastFolder(); !folder.isEmpty())
        dialog.setDirectory(folder);

    if (dialog.exec() != QDialog::Accepted)
        return {};
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty())
        return {};
    const tools::ZonePlateFileName name = CompletedName(files.first(), dialog.selectedNameFilter());
    return {FromStd(name.path), name.kind == tools::ZonePlateFileKind::Svg};
}

bool TFrmCreateZP::SaveDialogCanClose(const QString &fileName, const QString &nameFilter)
{
    const QString name = FromStd(CompletedName(fileName, nameFilter).path);
    if (name.isEmpty() || !QFileInfo::exists(name))
        return true;
    return AskYesNo(QApplication::activeModalWidget(), Str(1624) + name + Str(1625),
                    QMessageBox::NoIcon, QMessageBox::No);
}

void TFrmCreateZP::WritePlate(const Target &target, bool negative, std::int32_t magnification)
{
    const QString &fileName = target.name;
    bool written = false;
    {
        const WaitCursor hourglass;
        tools::ZonePlatePdfInput input;
        // Computed afresh from the same inputs as the page-size test, so the page is the size
        // that was allowed.
        input.values = tools::CalculateZonePlate(m_inputs.zoneCount, m_inputs.focalMM,
                                                 m_inputs.wavelengthMM, m_inputs.constant);
        input.focalText = ToStd(m_inputs.focalText);
        input.unitText = ToStd(m_inputs.unitText);
        input.negative = negative;
        input.magnification = magnification;
        input.date = tools::CurrentPdfDate();
        written = target.svg ? tools::WriteZonePlateSvg(ToStd(fileName), input)
                             : tools::WriteZonePlatePdf(ToStd(fileName), input);
    }

    // The folder and the printer are remembered even when the file could not be written: the
    // user is most likely to try again there.
    Guarded(parentWidget(), [&] {
        const QString folder = QDir::toNativeSeparators(QFileInfo(fileName).absolutePath());
        tools::WriteSettingString(kLastDirSetting, ToStd(folder));
    });
    Guarded(parentWidget(), [this] { StorePrinterDpi(); });

    if (!written)
        ShowMessage(parentWidget(), FromStd(tools::ZonePlateSaveFailedText(ToStd(fileName))));
}

// A resolution the field accepts is stored when it differs from the one stored; the default of
// a first run is not written until the user changes it.
void TFrmCreateZP::StorePrinterDpi()
{
    const std::optional<int> dpi = tools::ParsePrinterDpi(ToStd(ui->edPrinterDpi->text()));
    if (!dpi || dpi == m_storedDpi.value_or(tools::kDefaultPrinterDpi))
        return;
    tools::WriteSettingInteger(kPrinterDpiSetting, *dpi);
}

void TFrmCreateZP::FocusMagnification()
{
    ui->edMagnification->setFocus();
    ui->edMagnification->selectAll();
}
