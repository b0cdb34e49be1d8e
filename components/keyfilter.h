// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

#include <string>

class QLineEdit;

// Keeps a field numeric: every typed character, and Ctrl+V, passes through the core's key
// filter (decimal or whole numbers) before the field sees it.
class TNumericKeyFilter : public QObject
{
    Q_OBJECT

public:
    enum class Kind
    {
        Decimal,
        Integer
    };

    // Installs a filter of kind on field; the filter is owned by the field.
    static TNumericKeyFilter *Install(QLineEdit *field, Kind kind);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    TNumericKeyFilter(Kind kind, QObject *parent);
    char32_t Filter(char32_t ch, const std::string &fieldText, const std::string &outsideSelection,
                    std::string &clipboard) const;
    QString FilterTyped(const QLineEdit *field, const QString &text) const;

    Kind m_kind;
};
