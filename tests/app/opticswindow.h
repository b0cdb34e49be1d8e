// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The main window as the optics tests drive it: started on a settings store of its own for
// each test, with the user constant dialog, and worked as a user would, by typing into its
// fields and picking from its lists. Expected numbers are written with '.' and compared in
// the locale's format (Local).

#include "app/frmmain.h"
#include "components/guarded.h"
#include "components/uitext.h"
#include "tests/app/windowpages.h"
#include "tests/support/qtesthelpers.h"

#include <QComboBox>
#include <QLineEdit>
#include <QtTest>

#include <memory>
#include <vector>

inline QString Local(QString text)
{
    return text.replace(u'.', QChar(DecimalSeparator()));
}

inline QStringList Local(const QStringList &texts)
{
    QStringList local;
    for (const QString &text : texts)
        local << Local(text);
    return local;
}

// Works the fields and lists of the forms under the test's roots as a user would, by their
// names.
class FieldDriver
{
protected:
    virtual ~FieldDriver() = default;
    // The windows or pages whose controls the test drives.
    virtual std::vector<const QWidget *> Roots() const = 0;

    template <typename T = QLineEdit> T *Get(const char *name) const
    {
        for (const QWidget *root : Roots())
            if (T *child = root->findChild<T *>(name))
                return child;
        qFatal("no control %s", name);
    }

    QString Text(const char *field) const { return Get(field)->text(); }

    // Replaces a field's text by typing, through the field's key filter.
    void Type(const char *field, const QString &text) const
    {
        QLineEdit *edit = Get(field);
        edit->selectAll();
        if (text.isEmpty())
            QTest::keyClick(edit, Qt::Key_Delete);
        else
            QTest::keyClicks(edit, Local(text));
    }

    void SetUnit(const char *list, const QString &unit) const
    {
        auto *box = Get<QComboBox>(list);
        box->setCurrentIndex(box->findText(unit));
    }

    // 0: the diameter tab's list, 1: the zone plate's.
    QComboBox *ConstantList(int target) const
    {
        return Get<QComboBox>(target == 0 ? "cbConstant1" : "cbConstant4");
    }
};

class OpticsWindow : public FieldDriver
{
protected:
    std::vector<const QWidget *> Roots() const override { return {m_window.get()}; }

    // Once per test program: errors are collected instead of waiting in a message box.
    void SetUpProgram()
    {
        InitDecimalSeparator();
        SetErrorReporter([this](QWidget *, const QString &message) { m_errors << message; });
    }
    void TearDownProgram() { SetErrorReporter({}); }

    // Per test: a new settings store and a window started on it.
    void SetUp()
    {
        m_errors.clear();
        m_settings = std::make_unique<ScratchSettings>();
        Restart();
    }
    // The errors the test left unreported, one a line; empty when there were none.
    QString TearDown()
    {
        m_window.reset();
        return m_errors.join(u'\n');
    }

    // Starts the window again on the same store, as the program starts: the window first,
    // then the user constant dialog. Every page is built, as after a visit to every tab,
    // unless only the first one is asked for, as at start-up.
    void Restart(bool allPages = true)
    {
        m_window.reset();
        m_window = allPages ? MakeBuiltWindow() : std::make_unique<TfrmMain>();
        m_window->CreateCustomConstantDialog();
        m_window->show();
        m_window->activateWindow();
        if (!QTest::qWaitForWindowActive(m_window.get()))
            qWarning("the main window did not become active");
    }

    std::unique_ptr<ScratchSettings> m_settings;
    std::unique_ptr<TfrmMain> m_window;
    QStringList m_errors;
};
