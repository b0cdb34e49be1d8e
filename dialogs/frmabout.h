// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QString>

#include <functional>
#include <memory>

namespace Ui {
class TFrmAbout;
}

// Opens an address (a web address, or "Mailto:" and an e-mail address) in the user's browser
// or mail program. Failures are not reported: without such a program nothing happens.
using LinkOpener = std::function<void(const QString &address)>;

// Replaces the opener of the about box's links; an empty one goes back to the desktop's
// (QDesktopServices). Tests install a recorder. Returns the opener that was in place.
LinkOpener SetLinkOpener(LinkOpener opener);

// The about box: the program's name and version, the version of the film database in use,
// a notice and two links. Shown modally and discarded after each use.
class TFrmAbout : public QDialog
{
    Q_OBJECT

public:
    // filmDBVersion: the version text of the loaded film database, empty when none was loaded.
    explicit TFrmAbout(const QString &filmDBVersion, QWidget *parent = nullptr);
    ~TFrmAbout() override;

signals:
    // OK hid the box: the angle diagram it covered is to be drawn again.
    void CalcAngleOfViewRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void FormCreate(const QString &filmDBVersion);
    void lbUrlClick();
    void lbEmailClick();
    void btCancelClick();
    void FitTexts();

    std::unique_ptr<Ui::TFrmAbout> ui;
};
