// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFileDialog>
#include <QStringList>

#include <functional>

// The save dialog of the exposure table. It is Qt's own dialog rather than the platform's, so
// that the question before replacing a file is the program's own and is asked for the name as
// completed with the extension of the chosen file type. Its owner answers whether it may close
// on the confirmed name; the name and the file type chosen last are offered again next time.
class TExposureSaveDialog : public QFileDialog
{
public:
    using CanClose = std::function<bool(const QString &fileName, int filterIndex)>;

    TExposureSaveDialog(QWidget *parent, CanClose canClose);

    // The filter list is built anew for every save; the file type chosen last stays selected.
    void SetFilters(const QStringList &filters);
    // The file type selected in the dialog, counted from 1.
    int FilterIndex() const;
    QString FileName() const;
    int Run(const QString &initialFolder);

    void accept() override;

private:
    CanClose m_canClose;
    int m_filterIndex = 1;
    QString m_lastName;
    QString m_nameBeforeTypeChange;
    bool m_typeChanging = false;
};
