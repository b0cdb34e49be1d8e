// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/pages/exposuresavedialog.h"

#include "components/savefolder.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>

#include <utility>

TExposureSaveDialog::TExposureSaveDialog(QWidget *parent, CanClose canClose)
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

void TExposureSaveDialog::SetFilters(const QStringList &filters)
{
    setNameFilters(filters);
    if (m_filterIndex >= 1 && m_filterIndex <= filters.size())
        selectNameFilter(filters[m_filterIndex - 1]);
    m_typeChanging = false;
}

int TExposureSaveDialog::FilterIndex() const
{
    return nameFilters().indexOf(selectedNameFilter()) + 1;
}

QString TExposureSaveDialog::FileName() const
{
    const QStringList files = selectedFiles();
    return files.isEmpty() ? QString() : files.first();
}

int TExposureSaveDialog::Run(const QString &initialFolder)
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

void TExposureSaveDialog::accept()
{
    // A folder typed as the name is opened by the dialog itself; only a file name is put to
    // the owner.
    const QString name = FileName();
    if (!name.isEmpty() && !QFileInfo(name).isDir() &&
        (!SaveFolderExists(this, name) || (m_canClose && !m_canClose(name, FilterIndex()))))
        return;
    QFileDialog::accept();
}
