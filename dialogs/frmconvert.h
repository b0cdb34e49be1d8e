// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include <memory>

class QLineEdit;

namespace Ui {
class TFrmConvert;
}

// The unit conversion tool: a length in millimetres, centimetres or inches, converted into the
// other two units while the user types. Not modal; made once at start-up and then only shown
// and hidden, so that the last conversion is still there when it is shown again.
class TFrmConvert : public QDialog
{
    Q_OBJECT

public:
    explicit TFrmConvert(QWidget *parent = nullptr);
    ~TFrmConvert() override;

    // Shows the tool, or brings it to the front when it is showing already.
    void ShowOrRaise();

signals:
    // Cancel hid the tool: the angle diagram it may have covered is to be drawn again.
    void CalcAngleOfViewRequested();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void FormCreate();
    void edMmChange();
    void edCmChange();
    void edInChange();
    void btCancelClick();

    // Converts the length in field, whose unit is unit, into the other two fields.
    void Convert(QLineEdit *field, const char *unit);

    std::unique_ptr<Ui::TFrmConvert> ui;
};
