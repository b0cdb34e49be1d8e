// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/keyfilter.h"

#include "components/uitext.h"
#include "tools/numtext.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>

namespace {

bool IsPasteKey(const QKeyEvent *event)
{
    return event->matches(QKeySequence::Paste) || event->text() == QLatin1String("\x16");
}

// The field's text with its selected part cut out, as it stands when a paste replaces the
// selection.
QString TextOutsideSelection(const QLineEdit *field)
{
    QString text = field->text();
    if (field->hasSelectedText())
        text.remove(field->selectionStart(), field->selectedText().size());
    return text;
}

} // namespace

TNumericKeyFilter *TNumericKeyFilter::Install(QLineEdit *field, Kind kind)
{
    auto *filter = new TNumericKeyFilter(kind, field);
    field->installEventFilter(filter);
    return filter;
}

TNumericKeyFilter::TNumericKeyFilter(Kind kind, QObject *parent) : QObject(parent), m_kind(kind) {}

// Passes the printable characters of text one by one through the filter, each judged as if
// the ones let through before it were already in the field (so "1.5.2" keeps one separator).
// Returns the characters let through; control characters are kept as they are.
QString TNumericKeyFilter::FilterTyped(const QLineEdit *field, const QString &text) const
{
    std::string fieldText = ToStd(field->text());
    QString kept;
    std::string unused;
    for (const char32_t ch : text.toUcs4()) {
        const bool printable = ch >= 32 && QChar::isPrint(ch);
        if (printable && Filter(ch, fieldText, fieldText, unused) == 0)
            continue;
        kept += QString::fromUcs4(&ch, 1);
        if (printable)
            fieldText += ToStd(QString::fromUcs4(&ch, 1));
    }
    return kept;
}

char32_t TNumericKeyFilter::Filter(char32_t ch, const std::string &fieldText,
                                   const std::string &outsideSelection,
                                   std::string &clipboard) const
{
    if (m_kind == Kind::Integer)
        return tools::FilterIntegerKey(ch, clipboard);
    return tools::FilterDecimalKey(ch, fieldText, outsideSelection, clipboard, DecimalSeparator());
}

bool TNumericKeyFilter::eventFilter(QObject *watched, QEvent *event)
{
    auto *field = qobject_cast<QLineEdit *>(watched);
    if (!field)
        return QObject::eventFilter(watched, event);

    // Text composed by an input method (dead keys, compose sequences) arrives without a key
    // press; it goes through the same filter and loses the characters it refuses.
    if (event->type() == QEvent::InputMethod) {
        auto *input = static_cast<QInputMethodEvent *>(event);
        const QString commit = input->commitString();
        const QString kept = FilterTyped(field, commit);
        if (kept != commit)
            input->setCommitString(kept, input->replacementStart(), input->replacementLength());
        return false;
    }
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);

    if (IsPasteKey(key)) {
        QClipboard *board = QGuiApplication::clipboard();
        const QString before = board->text();
        std::string clipboard = ToStd(before);
        if (Filter(tools::kPasteKey, ToStd(field->text()), ToStd(TextOutsideSelection(field)),
                   clipboard) == 0)
            return true;
        const QString stripped = FromStd(clipboard);
        if (stripped != before)
            board->setText(stripped);
        return false;
    }

    // Shortcuts (Ctrl with a letter, whatever text the platform gives them), control keys
    // (Backspace, Enter, Delete) and keys without text (arrows, Home, End) reach the field
    // unfiltered; the field inserts no text for them. Every printable character must pass,
    // else the whole key is swallowed.
    const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
    if (mods == Qt::ControlModifier || mods == (Qt::ControlModifier | Qt::ShiftModifier))
        return false;
    return FilterTyped(field, key->text()) != key->text();
}
