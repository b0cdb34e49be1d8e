// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/reciprocity.h"

#include <QString>
#include <QWidget>

#include <vector>

// A small log-log plot of a film's reciprocity failure: metered time across, the time the film
// needs up, both in seconds, with a line at each decade. It shows the pairs the user entered
// as dots, the fitted curve over its range as a solid line and its continuation past the
// range dashed, over a dotted diagonal where the needed time equals the metered one (no
// correction). It keeps what it was last given and draws it whenever the toolkit repaints.
class TReciprocityPlot : public QWidget
{
    Q_OBJECT

public:
    explicit TReciprocityPlot(QWidget *parent = nullptr);

    using Points = std::vector<tools::TimePair>;

    // Any of the three may be empty; the axes span whatever is given, in whole decades.
    void SetData(Points measured, Points fitted, Points continued);
    void Clear() { SetData({}, {}, {}); }

    // The axis titles (from the string table) and the decimal separator of tick labels.
    void SetAxisTitles(const QString &metered, const QString &needed, char decSep);

    const Points &Measured() const { return m_measured; }
    const Points &Fitted() const { return m_fitted; }
    const Points &Continued() const { return m_continued; }
    // The decades the axes span (powers of ten), across and up; all 0 when there is nothing.
    int FirstDecadeX() const { return m_x0; }
    int LastDecadeX() const { return m_x1; }
    int FirstDecadeY() const { return m_y0; }
    int LastDecadeY() const { return m_y1; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void FitAxes();

    Points m_measured;
    Points m_fitted;
    Points m_continued;
    QString m_meteredTitle;
    QString m_neededTitle;
    char m_decSep = '.';
    int m_x0 = 0, m_x1 = 0, m_y0 = 0, m_y1 = 0;
};
