// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/updown.h"

#include "components/uitext.h"
#include "tools/zoneplate.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>

#include <algorithm>

TUpDown::TUpDown(QWidget *parent)
    : QWidget(parent), m_up(new QToolButton(this)), m_down(new QToolButton(this))
{
    m_up->setArrowType(Qt::UpArrow);
    m_down->setArrowType(Qt::DownArrow);
    for (QToolButton *button : {m_up, m_down}) {
        button->setAutoRepeat(true);
        // The arrows are worked with the mouse; the keyboard uses Up and Down in the field.
        button->setFocusPolicy(Qt::NoFocus);
        button->setIconSize(QSize(7, 7));
    }
    connect(m_up, &QToolButton::clicked, this, [this] { Step(1); });
    connect(m_down, &QToolButton::clicked, this, [this] { Step(-1); });
}

void TUpDown::SetAssociate(QLineEdit *field)
{
    if (m_field != nullptr)
        m_field->removeEventFilter(this);
    m_field = field;
    if (m_field != nullptr)
        m_field->installEventFilter(this);
}

void TUpDown::SetRange(int min, int max)
{
    m_min = std::min(min, max);
    m_max = std::max(min, max);
    m_position = std::clamp(m_position, m_min, m_max);
}

void TUpDown::SetPosition(int position)
{
    m_position = std::clamp(position, m_min, m_max);
    if (m_field != nullptr)
        m_field->setText(QString::number(m_position));
}

void TUpDown::Step(int delta)
{
    if (m_field != nullptr) {
        if (const auto typed = tools::ParseWholeNumber(ToStd(m_field->text())))
            m_position = std::clamp(*typed, m_min, m_max);
    }
    // At either end the arrows stay where they are: no wrap-around.
    SetPosition(m_position + delta);
    if (m_field != nullptr)
        m_field->selectAll();
}

bool TUpDown::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_field && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->modifiers() == Qt::NoModifier || key->modifiers() == Qt::KeypadModifier) {
            if (key->key() == Qt::Key_Up) {
                Step(1);
                return true;
            }
            if (key->key() == Qt::Key_Down) {
                Step(-1);
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TUpDown::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    const int upper = height() / 2;
    m_up->setGeometry(0, 0, width(), upper);
    m_down->setGeometry(0, upper, width(), height() - upper);
}
