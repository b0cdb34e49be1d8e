// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/optics.h"

#include <QWidget>

#include <optional>

// The drawing surface of the angle of view tab, 230 x 264 pixels. It shows either nothing
// (the plain button-face colour) or the diagram of one angle: the white dotted lines of the
// normal lens and over them the navy lines of the chosen angle, all from the pinhole at the
// middle of the left edge. It keeps the lines it was last given and draws them whenever the
// toolkit repaints it, so the picture never needs to be redrawn from outside.
class TAngleDiagram : public QWidget
{
    Q_OBJECT

public:
    explicit TAngleDiagram(QWidget *parent = nullptr);

    // Blanks the surface.
    void Clear();
    // Shows the diagram; both setters repaint at once.
    void SetDiagram(const tools::AngleDiagram &diagram);

    bool HasDiagram() const { return m_diagram.has_value(); }
    const std::optional<tools::AngleDiagram> &Diagram() const { return m_diagram; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    std::optional<tools::AngleDiagram> m_diagram;
};
