// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/optics.h"

#include <QLabel>
#include <QWidget>

#include <optional>

// The surface the diagram and its legend are drawn on: the palette's mid tone, darkened or
// lightened as far as needed for both the white lines of the normal lens and the navy lines
// of the chosen angle to stand out from it by a contrast of at least 3 : 1, under a light
// palette and a dark one alike.
QColor DiagramSurface(const QPalette &palette);

// The drawing surface of the angle of view tab, 230 x 264 pixels. It shows either nothing
// (the plain button-face colour) or, on the diagram surface, the diagram of one angle: the
// white dotted lines of the normal lens and over them the navy lines of the chosen angle, all
// from the pinhole at the middle of the left edge. It keeps the lines it was last given and draws
// them whenever the toolkit repaints it, so the picture never needs to be redrawn from outside.
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

// The legend picture beside the diagram, shown on the diagram's surface so that its white
// sample of the normal lens can be seen.
class TDiagramLegend : public QLabel
{
    Q_OBJECT

public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent *event) override;
};
