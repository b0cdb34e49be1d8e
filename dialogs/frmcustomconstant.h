// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/constants.h"

#include <QDialog>

#include <memory>

namespace Ui {
class TFrmCustomConstant;
}

class TConstantList;

// Adds, changes or removes the user constant of one of the two constant lists. Made once and
// shown modally each time the user picks the action entry of a list. OK stores the constant,
// rebuilds that list and tells so (ConstantStored); Cancel, Escape and the close box put the
// list back on the entry it showed before.
class TFrmCustomConstant : public QDialog
{
    Q_OBJECT

public:
    // parent: the main window, on which the dialog is centred.
    explicit TFrmCustomConstant(QWidget *parent);
    ~TFrmCustomConstant() override;

    // Which list the dialog works on; set when it is shown.
    tools::ConstantTarget CustomConstantTarget() const { return m_target; }

    // Shows the dialog modally for list and returns when it is closed.
    void Execute(TConstantList *list);

    // Escape and the close box end up here: they act as the Cancel button.
    void reject() override;

signals:
    // OK stored value as target's user constant (-1: none) and rebuilt its list; the results
    // that follow the constant are to be recalculated or emptied.
    void ConstantStored(tools::ConstantTarget target, double value);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormCreate();
    void FormShow();
    void btOkClick();
    void btCancelClick();

    std::unique_ptr<Ui::TFrmCustomConstant> ui;
    TConstantList *m_list = nullptr;
    tools::ConstantTarget m_target = tools::ConstantTarget::Pinhole;
};
