// SPDX-License-Identifier: GPL-3.0-or-later
// The about box: the film database line, the two links and how it closes.
#include "components/helpviewer.h"
#include "components/uitext.h"
#include "dialogs/frmabout.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

class TestFrmAbout : public QObject
{
    Q_OBJECT

private:
    template <typename T = QLabel> T *Get(const char *name) const
    {
        T *child = m_box->findChild<T *>(name);
        if (child == nullptr)
            qFatal("no control %s", name);
        return child;
    }

    void Open(const QString &filmDBVersion = QStringLiteral("2026.12"))
    {
        m_box = std::make_unique<TFrmAbout>(filmDBVersion);
        m_box->show();
        m_box->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_box.get()));
    }

    std::unique_ptr<TFrmAbout> m_box;
    QStringList m_opened;

private slots:
    void initTestCase()
    {
        SetLinkOpener([this](const QString &address) { m_opened << address; });
    }
    void cleanupTestCase() { SetLinkOpener({}); }
    void init() { m_opened.clear(); }
    void cleanup() { m_box.reset(); }

    void filmDatabaseLine_data()
    {
        QTest::addColumn<QString>("version");
        QTest::addColumn<QString>("shown");
        QTest::newRow("loaded") << "2026.12 (2026-12-07)"
                                << "Film database 2026.12 (2026-12-07)";
        QTest::newRow("not loaded") << ""
                                    << "(film database not found)";
    }
    void filmDatabaseLine()
    {
        QFETCH(QString, version);
        QFETCH(QString, shown);
        Open(version);
        QCOMPARE(Get("lbFilmDBVersion")->text(), shown);
        QCOMPARE(m_box->windowTitle(), u' ' + Str(2100));
        QVERIFY(!Get("Image1")->pixmap().isNull());
    }

    // A click on a link opens it; the e-mail address as a "Mailto:" address.
    void linksOpen_data()
    {
        QTest::addColumn<QString>("link");
        QTest::addColumn<QString>("address");
        QTest::newRow("web") << "lbUrl" << Str(5);
        QTest::newRow("e-mail") << "lbEmail" << QStringLiteral("Mailto:") + Str(6);
    }
    void linksOpen()
    {
        QFETCH(QString, link);
        QFETCH(QString, address);
        Open();
        QLabel *label = Get(qPrintable(link));
        QCOMPARE(label->cursor().shape(), Qt::PointingHandCursor);
        QVERIFY(label->font().underline());
        QTest::mouseClick(label, Qt::LeftButton);
        QCOMPARE(m_opened, QStringList{address});
        QVERIFY(m_box->isVisible());
    }

    // Enter and Escape both work the OK button, which redraws the diagram the box covered.
    void closesByEnterAndEscape_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("Enter") << int(Qt::Key_Return);
        QTest::newRow("Escape") << int(Qt::Key_Escape);
    }
    void closesByEnterAndEscape()
    {
        QFETCH(int, key);
        Open();
        QSignalSpy redraw(m_box.get(), &TFrmAbout::CalcAngleOfViewRequested);
        QTest::keyClick(m_box.get(), Qt::Key(key));
        QVERIFY(!m_box->isVisible());
        QCOMPARE(redraw.count(), 1);
        QVERIFY(m_opened.isEmpty());
    }

    void helpKey()
    {
        Open();
        QTest::keyClick(Get<QPushButton>("btCancel"), Qt::Key_F1);
        QVERIFY(THelpViewer::Instance() != nullptr);
        QCOMPARE(THelpViewer::Instance()->Source().fragment(), QStringLiteral("1000"));
        THelpViewer::Instance()->close();
    }
};

QTEST_MAIN(TestFrmAbout)
#include "test_frmabout.moc"
