// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/constants.h"

#include <QDialog>

#include <memory>

namespace Ui {
class TFrmCustomConstant;
}

class IConstantListHost;

// Adds, changes or removes the user constant of one of the two constant lists. Made once at
// start-up and shown modally each time the user picks the action entry of a list. OK stores
// the constant and rebuilds that list; Cancel, Escape and the close box put the list back on
// the entry it showed before.
class TFrmCustomConstant : public QDialog
{
    Q_OBJECT

public:
    // host: the window that holds the lists; it also serves as the dialog's parent, on which
    // the dialog is centred.
    TFrmCustomConstant(IConstantListHost *host, QWidget *parent);
    ~TFrmCustomConstant() override;

    // Which list the dialog works on; set just before it is shown.
    tools::ConstantTarget CustomConstantTarget() const { return m_target; }
    void SetCustomConstantTarget(tools::ConstantTarget target) { m_target = target; }

    // Shows the dialog modally for target's list and returns when it is closed.
    void Execute(tools::ConstantTarget target);

    // Escape and the close box end up here: they act as the Cancel button.
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormCreate();
    void FormShow();
    void btOkClick();
    void btCancelClick();
    void ShowMessage(const QString &text);

    std::unique_ptr<Ui::TFrmCustomConstant> ui;
    IConstantListHost *m_host;
    tools::ConstantTarget m_target = tools::ConstantTarget::Pinhole;
};
