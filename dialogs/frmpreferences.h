// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TFrmPreferences;
}

// The options dialog: the main length unit, the angle unit, the number of decimal places and
// the rounding of exposure times. Shown modally and discarded after each use. OK writes only
// the preferences that changed, reloads them and tells which changed (PreferencesChanged), for
// the main window to follow; Cancel, Escape and the close box write nothing.
class TFrmPreferences : public QDialog
{
    Q_OBJECT

public:
    // What OK changed. Lengths: the main unit or the number of decimal places, in which every
    // length is shown.
    enum class Change
    {
        MainUnit = 1,
        AngleUnit = 2,
        Rounding = 4,
        Lengths = 8,
    };
    Q_DECLARE_FLAGS(Changes, Change)

    explicit TFrmPreferences(QWidget *parent = nullptr);
    ~TFrmPreferences() override;

signals:
    // After OK, when a preference changed; the preferences in memory hold the new values.
    void PreferencesChanged(TFrmPreferences::Changes changes);
    // Cancel hid the dialog: the angle diagram it covered is to be drawn again.
    void CalcAngleOfViewRequested();

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

    std::unique_ptr<Ui::TFrmPreferences> ui;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(TFrmPreferences::Changes)
