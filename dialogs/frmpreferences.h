// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include <memory>

class IPreferencesHost;

namespace Ui {
class TFrmPreferences;
}

// The options dialog: the main length unit, the angle unit, the number of decimal places and
// the rounding of exposure times. Shown modally and discarded after each use. OK writes only
// the preferences that changed, reloads them and has the main window recalculate what depends
// on them; Cancel, Escape and the close box write nothing.
class TFrmPreferences : public QDialog
{
    Q_OBJECT

public:
    explicit TFrmPreferences(IPreferencesHost &host, QWidget *parent = nullptr);
    ~TFrmPreferences() override;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void FormCreate();
    void edDigitChange();
    void btOkClick();
    void btCancelClick();

    // The whole number in edDigit; throws with the text of string 2008 when it is none.
    int DigitValue() const;
    void ShowRangeMessage();

    IPreferencesHost &m_host;
    std::unique_ptr<Ui::TFrmPreferences> ui;
};
