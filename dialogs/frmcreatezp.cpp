// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/frmcreatezp.h"
#include "ui_frmcreatezp.h"

#include "components/fittext.h"
#include "components/guarded.h"
#include "components/keyfilter.h"
#include "components/savefolder.h"
#include "components/uitext.h"
#include "components/waitcursor.h"
#include "tools/settings.h"
#include "tools/stringtable.h"
#include "tools/zoneplate.h"
#include "tools/zoneplatepdf.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include <functional>
#include <optional>
#include <utility>

namespace {

constexpr const char *kLastDirSetting = "LastDirZonePlate";

// The save dialog asks its owner before it closes on a confirmed name, so that the question
// before replacing a file can send the user back to the dialog with the name kept.
class TZonePlateSaveDialog : public QFileDialog
{
public:
    TZonePlateSaveDialog(QWidget *parent, std::function<bool(const QString &)> canClose)
        : QFileDialog(parent), m_canClose(std::move(canClose))
    {}

    void accept() override
    {
        const QStringList files = selectedFiles();
        // A folder name opens the folder; the base class does that.
        if (!files.isEmpty() && !QFileInfo(files.first()).isDir() &&
            (!SaveFolderExists(this, files.first()) || !m_canClose(files.first())))
            return;
        QFileDialog::accept();
    }

private:
    std::function<bool(const QString &)> m_canClose;
};

QString ValidatedName(const QString &fileName)
{
    return FromStd(tools::ValidateZoneplateFileName(ToStd(QDir::toNativeSeparators(fileName))));
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
    setFixedSize(218, 151);

    connect(ui->chbMagnification, &QCheckBox::toggled, this,
            [this] { Guarded(this, [this] { chbMagnificationClick(); }); });
    connect(ui->btSave, &QPushButton::clicked, this,
            [this] { Guarded(this, [this] { btSaveClick(); }); });
    connect(ui->btCancel, &QPushButton::clicked, this,
            [this] { Guarded(this, [this] { btCancelClick(); }); });

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

    // The factor takes digits only (FormKeyPress).
    TNumericKeyFilter::Install(ui->edMagnification, TNumericKeyFilter::Kind::Integer);
    chbMagnificationClick();
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
            ShowPlainMessage(this, FromStd(tools::FormatStr(2008, ToStd(factorText))));
            FocusMagnification();
            return;
        }
        if (*factor < 2) {
            ShowPlainMessage(this, Str(1622));
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
        ShowPlainMessage(this, Str(1623));
        if (ui->edMagnification->isEnabled())
            FocusMagnification();
        return;
    }

    hide();
    QWidget *mainWindow = parentWidget() ? parentWidget()->window() : nullptr;
    if (mainWindow)
        mainWindow->repaint();

    const QString name = ValidatedName(RunSaveDialog());
    if (!name.isEmpty()) {
        if (mainWindow)
            mainWindow->repaint();
        WritePdf(name, negative, magnification);
    }
    done(name.isEmpty() ? QDialog::Rejected : QDialog::Accepted);
}

QString TFrmCreateZP::RunSaveDialog()
{
    TZonePlateSaveDialog dialog(parentWidget(),
                                [this](const QString &name) { return SaveDialogCanClose(name); });
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // Qt's own dialog, so that the replace question is ours and asked for the completed name.
    dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite);
    dialog.setNameFilter(Str(1628) + QStringLiteral(" (*.pdf)"));
    if (const QString folder = LastFolder(); !folder.isEmpty())
        dialog.setDirectory(folder);

    if (dialog.exec() != QDialog::Accepted)
        return {};
    const QStringList files = dialog.selectedFiles();
    return files.isEmpty() ? QString() : files.first();
}

bool TFrmCreateZP::SaveDialogCanClose(const QString &fileName)
{
    const QString name = ValidatedName(fileName);
    if (name.isEmpty() || !QFileInfo::exists(name))
        return true;
    QMessageBox question(QMessageBox::NoIcon, Str(1), Str(1624) + name + Str(1625),
                         QMessageBox::Yes | QMessageBox::No, QApplication::activeModalWidget());
    question.setDefaultButton(QMessageBox::No);
    return question.exec() == QMessageBox::Yes;
}

void TFrmCreateZP::WritePdf(const QString &fileName, bool negative, std::int32_t magnification)
{
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
        written = tools::WriteZonePlatePdf(ToStd(fileName), input);
    }

    // The folder is remembered even when the file could not be written: the user is most
    // likely to try again there.
    Guarded(parentWidget(), [&] {
        const QString folder = QDir::toNativeSeparators(QFileInfo(fileName).absolutePath());
        tools::WriteSettingString(kLastDirSetting, ToStd(folder));
    });

    if (!written)
        ShowPlainMessage(parentWidget(), FromStd(tools::ZonePlateSaveFailedText(ToStd(fileName))));
}

void TFrmCreateZP::ShowPlainMessage(QWidget *parent, const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, Str(1), text, QMessageBox::Ok, parent);
    box.exec();
}

void TFrmCreateZP::FocusMagnification()
{
    ui->edMagnification->setFocus();
    ui->edMagnification->selectAll();
}
