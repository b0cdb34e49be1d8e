// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

// A pair of spin arrows attached to a whole-number field. The field stays an ordinary edit
// field that the user may type anything into; the arrows, and the Up and Down keys in the
// field, step the number in it by one within [Min, Max] without wrapping around. A field whose
// text is no number steps from the arrows' last position.
class TUpDown : public QWidget
{
    Q_OBJECT

public:
    explicit TUpDown(QWidget *parent = nullptr);

    void SetAssociate(QLineEdit *field);
    void SetRange(int min, int max);
    int Min() const { return m_min; }
    int Max() const { return m_max; }

    // Sets the position, bounded to the range, and writes it into the field.
    void SetPosition(int position);
    int Position() const { return m_position; }

    // One step up (+1) or down (-1) from the number in the field.
    void Step(int delta);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QToolButton *m_up;
    QToolButton *m_down;
    QLineEdit *m_field = nullptr;
    int m_min = 0;
    int m_max = 100;
    int m_position = 0;
};
