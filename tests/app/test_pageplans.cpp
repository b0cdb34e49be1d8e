// SPDX-License-Identifier: GPL-3.0-or-later
// Each page of the main window takes, when it is built, exactly the room that the window made
// for it at start-up from the page's form table: at any font, so that a tab built later never
// makes the window grow or leaves a control cut; and the window finds that room again at the
// next start in the file it keeps it in.
#include "app/filmcatalogue.h"
#include "app/frmmain.h"
#include "app/pages/anglepage.h"
#include "app/pages/diameterpage.h"
#include "app/pages/exposurepage.h"
#include "app/pages/magnificationpage.h"
#include "app/pages/zoneplatepage.h"
#include "components/fittext.h"
#include "components/formplan.h"
#include "components/guarded.h"
#include "components/plansizes.h"
#include "components/uitext.h"
#include "tests/support/qtesthelpers.h"

#include <QFile>
#include <QFontDatabase>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

// The room the main window's page control gives a page for its small-font coordinates.
constexpr QSize kFormPageSize(513, 321);

const FilmCatalogue kNoFilms;

const std::pair<const char *, std::function<std::unique_ptr<CalculatorPage>()>> kPages[] = {
    {"diameter", [] { return std::make_unique<DiameterPage>(); }},
    {"exposure", [] { return std::make_unique<ExposurePage>(kNoFilms); }},
    {"angle", [] { return std::make_unique<AnglePage>(); }},
    {"magnification", [] { return std::make_unique<MagnificationPage>(); }},
    {"zone plate", [] { return std::make_unique<ZonePlatePage>(); }},
};

} // namespace

class TestPagePlans : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        InitDecimalSeparator();
        SetErrorReporter([this](QWidget *, const QString &message) { m_errors << message; });
    }
    void cleanupTestCase() { SetErrorReporter({}); }

    void plannedRoomIsBuiltRoom_data()
    {
        QTest::addColumn<QString>("family");
        QTest::addColumn<int>("points");
        QTest::addColumn<int>("page");
        const std::pair<const char *, int> fonts[] = {
            {"DejaVu Sans", 9}, {"DejaVu Sans", 11}, {"Noto Sans", 10}};
        for (const auto &[family, points] : fonts)
            for (int page = 0; page < static_cast<int>(std::size(kPages)); ++page)
                QTest::addRow("%s %d, %s", family, points, kPages[page].first)
                    << QString::fromLatin1(family) << points << page;
    }
    void plannedRoomIsBuiltRoom()
    {
        QFETCH(QString, family);
        QFETCH(int, points);
        QFETCH(int, page);
        if (!QFontDatabase::families().contains(family))
            QSKIP("font not installed (scripts/install-deps.sh installs it)");
        QApplication::setFont(QFont(family, points));
        const ScratchSettings settings;

        const std::unique_ptr<CalculatorPage> form = kPages[page].second();
        form->resize(kFormPageSize);
        const QSize planned = FittedPlanSize(form->Plan(), kFormPageSize, form.get());
        form->EnsureBuilt();
        const QSize built = FitFormToText(form.get(), kFormPageSize);
        QApplication::setFont(QFont());

        QCOMPARE(built, planned);
        QVERIFY(built.width() >= kFormPageSize.width() && built.height() >= kFormPageSize.height());
        QVERIFY2(m_errors.isEmpty(), qPrintable(m_errors.join(u'\n')));
    }

    // The window sizes itself from the room kept by an earlier start, and works the room out
    // afresh when the file holds none for this start.
    void window_takesKeptRoom()
    {
        const ScratchSettings settings;
        QTemporaryDir cache;
        const QString file = cache.filePath(QStringLiteral("plan-sizes"));
        const QSize fresh = RoomOfTabs(file);
        QFile kept(file);
        QVERIFY(kept.open(QIODevice::ReadOnly));
        std::map<std::uint64_t, QSize> sizes = TPlanSizes::Parse(kept.readAll());
        kept.close();
        QCOMPARE(sizes.size(), std::size_t{4}); // the pages not shown at start-up

        for (auto &[key, size] : sizes)
            size += QSize(200, 30);
        QVERIFY(kept.open(QIODevice::WriteOnly | QIODevice::Truncate));
        kept.write(TPlanSizes::Text(sizes));
        kept.close();
        // The window is wider than its pages need at this font: 200 more show, 30 more as much.
        const QSize grown = RoomOfTabs(file);
        QVERIFY2(grown.width() > fresh.width() + 100, qPrintable(QString::number(grown.width())));
        QCOMPARE(grown.height(), fresh.height() + 30);

        QVERIFY(kept.open(QIODevice::WriteOnly | QIODevice::Truncate));
        kept.write("lumidra plan sizes 1\n0 900 900\n");
        kept.close();
        QCOMPARE(RoomOfTabs(file), fresh);
        QVERIFY2(m_errors.isEmpty(), qPrintable(m_errors.join(u'\n')));
    }

private:
    // The size of the page control of a window started with the room kept in file.
    static QSize RoomOfTabs(const QString &file)
    {
        const TfrmMain window(nullptr, file);
        return window.findChild<QTabWidget *>(QStringLiteral("PageControl"))->size();
    }

    QStringList m_errors;
};

QTEST_MAIN(TestPagePlans)
#include "test_pageplans.moc"
