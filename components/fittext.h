// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSize>

class FormPlan;
class QWidget;

// The windows place their controls by coordinates laid out for a small font. At the font the
// program really runs with, a caption may need more room than its control has; this grows the
// controls of a form so that every text fits, and keeps the arrangement:
//
// - a label, a button, a check box or a radio button grows to its size hint (a label that
//   wraps its words grows in height for its width), an edit field or a list in height;
// - a group box grows with its controls, and its controls move down when its title needs
//   more room; a page control grows with its largest page and its natural tab captions;
// - whatever stood right of or below a control that grew moves by as much, so that rows and
//   columns stay together;
// - a control whose far edge lined up with another's keeps lining up with it: a row of
//   buttons moves along (or, lined up at both ends, widens), a group box or a table widens
//   or lengthens;
// - a control's own minimumSize() counts as what it needs (a table asks for its columns so);
// - a page of a page control that is not built yet (TLazyPage) counts with the room its plan
//   says its controls will need, measured to the pixel as they will be, with stand-ins of its
//   font and style (fitcontrols.h); the page fits its controls into it when it is built.
//
// Nothing ever shrinks: at a font for which the coordinates were made, nothing moves. Returns
// the size the form needs; the caller fixes the form to it.
QSize FitFormToText(QWidget *form);
// The same for a form whose controls were placed for formSize (a page built after its window
// was fitted, whose own size is its window's by now).
QSize FitFormToText(QWidget *form, QSize formSize);

// The size the form of plan will need when it is built, for controls placed for formSize; the
// form's font and style are those of context (the page not built yet).
QSize FittedPlanSize(const FormPlan &plan, QSize formSize, const QWidget *context);
