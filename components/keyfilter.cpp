// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/keyfilter.h"

#include "components/uitext.h"
#include "tools/numtext.h"

#include <QClipboard>
#include <QGuiApplication>
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

bool TNumericKeyFilter::eventFilter(QObject *watched, QEvent *event)
{
    auto *field = qobject_cast<QLineEdit *>(watched);
    if (!field || event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);

    const std::string fieldText = ToStd(field->text());
    const std::string outside = ToStd(TextOutsideSelection(field));
    auto filter = [&](char32_t ch, std::string &clipboard) {
        if (m_kind == Kind::Integer)
            return tools::FilterIntegerKey(ch, clipboard);
        return tools::FilterDecimalKey(ch, fieldText, outside, clipboard, DecimalSeparator());
    };

    if (IsPasteKey(key)) {
        QClipboard *board = QGuiApplication::clipboard();
        const QString before = board->text();
        std::string clipboard = ToStd(before);
        if (filter(tools::kPasteKey, clipboard) == 0)
            return true;
        const QString stripped = FromStd(clipboard);
        if (stripped != before)
            board->setText(stripped);
        return false;
    }

    // Control keys (Backspace, Enter, Delete, the editing shortcuts) and keys without text
    // (arrows, Home, End) reach the field unfiltered; every printable character must pass.
    std::string unused;
    for (const char32_t ch : key->text().toUcs4()) {
        if (ch < 32 || !QChar::isPrint(ch))
            continue;
        if (filter(ch, unused) == 0)
            return true;
    }
    return false;
}
