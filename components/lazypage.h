// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "components/formplan.h"

#include <QWidget>

// A page of a page control that makes its controls only when it is first shown, or when its
// owner asks for them: a program whose user needs one tab or two starts without building the
// others. Until then the page costs nothing but its plan, from which the fitting of the window
// knows to the pixel how much room its controls will need (fittext.h), so that building it
// later changes neither the window nor the page.
class TLazyPage : public QWidget
{
    Q_OBJECT

public:
    explicit TLazyPage(QWidget *parent = nullptr);
    ~TLazyPage() override;

    bool IsBuilt() const { return m_built; }
    // Builds the page now if it is not built yet.
    void EnsureBuilt();

    // The page's form with the texts and grids its building gives it.
    virtual FormPlan Plan() const = 0;

    // A page about to show is built first, while it is still hidden.
    void setVisible(bool visible) override;

signals:
    void built();

protected:
    // Makes the controls and gives them their texts and starting values; runs once. The
    // controls are placed for a small font: the page control fits them (TPageControl).
    virtual void Build() = 0;

private:
    bool m_built = false;
};
