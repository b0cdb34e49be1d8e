// SPDX-License-Identifier: GPL-3.0-or-later
// The unit conversion tool: conversion while typing, only from the field typed in, and a
// window that only hides and keeps its values.
#include "components/helpviewer.h"
#include "components/uitext.h"
#include "dialogs/frmconvert.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

namespace {

// The text with '.' replaced by the locale's decimal separator.
QString Local(QString text)
{
    return text.replace(u'.', QChar(DecimalSeparator()));
}

const char *const kFields[] = {"edMm", "edCm", "edIn"};

} // namespace

class TestFrmConvert : public QObject
{
    Q_OBJECT

private:
    QLineEdit *Field(const QString &name) const
    {
        auto *field = m_dialog->findChild<QLineEdit *>(name);
        if (field == nullptr)
            qFatal("no field %s", qPrintable(name));
        return field;
    }

    // The three fields' texts, millimetres first.
    QStringList Texts() const
    {
        QStringList texts;
        for (const char *name : kFields)
            texts << Field(name)->text();
        return texts;
    }

    // Types text into the emptied field as the user would, key by key.
    void Type(const QString &field, const QString &text)
    {
        Field(field)->setFocus();
        Field(field)->selectAll();
        QTest::keyClick(Field(field), Qt::Key_Delete);
        QTest::keyClicks(Field(field), text);
    }

    std::unique_ptr<TFrmConvert> m_dialog;

private slots:
    void initTestCase() { InitDecimalSeparator(); }

    void init()
    {
        m_dialog = std::make_unique<TFrmConvert>();
        m_dialog->ShowOrRaise();
        QVERIFY(QTest::qWaitForWindowActive(m_dialog.get()));
    }
    void cleanup() { m_dialog.reset(); }

    void convertsWhileTyping_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("shown"); // mm, cm, in; written with '.'
        QTest::newRow("25.4 mm") << "edMm"
                                 << "25.4" << QStringList{"25.4", "2.54", "1"};
        QTest::newRow("1 in") << "edIn"
                              << "1" << QStringList{"25.4", "2.54", "1"};
        // 1 / 2.54 = 0.39370078740157477..., to 15 significant digits.
        QTest::newRow("1 cm") << "edCm"
                              << "1" << QStringList{"10", "1", "0.393700787401575"};
        QTest::newRow("0.5 in") << "edIn"
                                << ".5" << QStringList{"12.7", "1.27", ".5"};
        QTest::newRow("exponent") << "edMm"
                                  << "1e3" << QStringList{"1e3", "100", "39.3700787401575"};
        // 1e307 in = 2.54e308 mm, more than a double holds: that field stays empty.
        QTest::newRow("too large") << "edIn"
                                   << "1e307" << QStringList{"", "2.54E307", "1e307"};
        // A lone exponent letter is no number: the other fields are emptied.
        QTest::newRow("not a number") << "edCm"
                                      << "2e" << QStringList{"", "2e", ""};
    }
    void convertsWhileTyping()
    {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QStringList, shown);
        Type(field, Local(typed));
        QStringList expected;
        for (const QString &text : shown)
            expected << Local(text);
        QCOMPARE(Texts(), expected);
    }

    // Deleting the last character of the field typed in empties the other two.
    void emptyingEmptiesTheOthers()
    {
        Type("edIn", "1");
        QTest::keyClick(Field("edIn"), Qt::Key_Backspace);
        QCOMPARE(Texts(), (QStringList{"", "", ""}));
    }

    // A field that has no focus does not convert when its text changes: the results written
    // into the other fields do not convert back (10 mm would turn 1 cm into 1.00000000000000
    // something on the way otherwise), nor does text put in by the program.
    void onlyTheFocusedFieldConverts()
    {
        Type("edCm", "1");
        Field("edIn")->setText(QStringLiteral("7"));
        QCOMPARE(Texts(), (QStringList{"10", "1", "7"}));
    }

    // Cancel and Escape hide the tool and ask for the angle diagram to be drawn again; the
    // close box only hides it. It keeps its values for the next time it is shown.
    void hidesAndKeepsItsValues_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("redraws");
        QTest::newRow("Cancel") << "Cancel" << 1;
        QTest::newRow("Escape") << "Escape" << 1;
        QTest::newRow("close box") << "close" << 0;
    }
    void hidesAndKeepsItsValues()
    {
        QFETCH(QString, how);
        QFETCH(int, redraws);
        QSignalSpy redraw(m_dialog.get(), &TFrmConvert::CalcAngleOfViewRequested);
        Type("edMm", Local("25.4"));

        if (how == "Cancel")
            m_dialog->findChild<QPushButton *>("btCancel")->click();
        else if (how == "Escape")
            QTest::keyClick(Field("edMm"), Qt::Key_Escape);
        else
            m_dialog->close();
        QVERIFY(!m_dialog->isVisible());
        QCOMPARE(redraw.count(), redraws);

        m_dialog->ShowOrRaise();
        QVERIFY(m_dialog->isVisible());
        QCOMPARE(Texts(), (QStringList{Local("25.4"), Local("2.54"), "1"}));
    }

    void helpKey()
    {
        Field("edCm")->setFocus();
        QTest::keyClick(Field("edCm"), Qt::Key_F1);
        QVERIFY(THelpViewer::Instance() != nullptr);
        QCOMPARE(THelpViewer::Instance()->Source().fragment(), QStringLiteral("2200"));
        THelpViewer::Instance()->close();
    }
};

QTEST_MAIN(TestFrmConvert)
#include "test_frmconvert.moc"
