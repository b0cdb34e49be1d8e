// SPDX-License-Identifier: GPL-3.0-or-later
// The room of the pages not built yet, kept from one start to the next: found again only for
// the same plan, form, font and style; worked out once per run; written only when something new
// was worked out; and a damaged or foreign file taken for none.
#include "components/plansizes.h"

#include <QFile>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QWidget>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

// A page with a title, a field and a result grid, as the build writes form tables.
constexpr FormControl kControls[] = {
    {"Box", FormKind::GroupBox, -1, 8, 8, 200, 80, false, false, false, false, "Pinhole"},
    {"Caption", FormKind::Label, 0, 8, 20, 60, 13, false, true, false, false, "Diameter"},
    {"Field", FormKind::LineEdit, 0, 72, 18, 60, 21, false, false, false, false, ""},
    {"Grid", FormKind::Table, -1, 8, 96, 200, 100, false, false, false, false, ""},
};
const QSize kForm(220, 210);

FormPlan Plan()
{
    FormPlan plan(kControls);
    plan.SetText("Field", QStringLiteral("0.3"));
    plan.SetGrid("Grid",
                 GridFit{{40, 40}, {{QStringLiteral("f")}, {QStringLiteral("Time")}}, 17, 8});
    return plan;
}

// A fit that counts how often it is asked.
struct CountingFit
{
    QSize size;
    int calls = 0;
    std::function<QSize()> Fit()
    {
        return [this] {
            ++calls;
            return size;
        };
    }
};

} // namespace

class TestPlanSizes : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_context = std::make_unique<QWidget>();
        QVERIFY(m_dir.isValid());
        m_file = m_dir.filePath(QStringLiteral("cache/plan-sizes"));
        QFile::remove(m_file);
    }

    void key_followsWhatTheFittingReads_data()
    {
        QTest::addColumn<std::function<void(FormPlan &, QSize &, QWidget &)>>("change");
        QTest::addColumn<bool>("sameKey");
        using Change = std::function<void(FormPlan &, QSize &, QWidget &)>;
        QTest::newRow("nothing") << Change([](FormPlan &, QSize &, QWidget &) {}) << true;
        QTest::newRow("a caption") << Change([](FormPlan &p, QSize &, QWidget &) {
            p.SetText("Caption", QStringLiteral("Diameter of the pinhole"));
        }) << false;
        QTest::newRow("a starting value") << Change([](FormPlan &p, QSize &, QWidget &) {
            p.SetText("Field", QStringLiteral("0,3"));
        }) << false;
        QTest::newRow("a grid heading") << Change([](FormPlan &p, QSize &, QWidget &) {
            p.SetGrid("Grid",
                      GridFit{{40, 40}, {{QStringLiteral("f")}, {QStringLiteral("Zeit")}}, 17, 8});
        }) << false;
        QTest::newRow("the form's size")
            << Change([](FormPlan &, QSize &form, QWidget &) { form.rwidth() += 1; }) << false;
        QTest::newRow("the font's size") << Change([](FormPlan &, QSize &, QWidget &w) {
            QFont font = w.font();
            font.setPointSizeF(font.pointSizeF() + 1);
            w.setFont(font);
        }) << false;
        QTest::newRow("bold") << Change([](FormPlan &, QSize &, QWidget &w) {
            QFont font = w.font();
            font.setBold(true);
            w.setFont(font);
        }) << false;
    }
    void key_followsWhatTheFittingReads()
    {
        QFETCH(std::function<void(FormPlan &, QSize &, QWidget &)>, change);
        QFETCH(bool, sameKey);
        const std::uint64_t before = TPlanSizes::Key(Plan(), kForm, m_context.get());
        FormPlan plan = Plan();
        QSize form = kForm;
        change(plan, form, *m_context);
        QCOMPARE(TPlanSizes::Key(plan, form, m_context.get()) == before, sameKey);
    }

    void key_followsTheStyle()
    {
        std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("fusion")));
        std::unique_ptr<QStyle> windows(QStyleFactory::create(QStringLiteral("windows")));
        m_context->setStyle(fusion.get());
        const std::uint64_t inFusion = TPlanSizes::Key(Plan(), kForm, m_context.get());
        m_context->setStyle(windows.get());
        QVERIFY(TPlanSizes::Key(Plan(), kForm, m_context.get()) != inFusion);
        m_context->setStyle(nullptr);
    }

    // Worked out once in a run, kept in the file, and found there by the next run.
    void size_workedOutOnceThenRead()
    {
        CountingFit fit{QSize(321, 234)};
        TPlanSizes first(m_file);
        QCOMPARE(first.Size(Plan(), kForm, m_context.get(), fit.Fit()), fit.size);
        QCOMPARE(first.Size(Plan(), kForm, m_context.get(), fit.Fit()), fit.size);
        QCOMPARE(fit.calls, 1);
        first.Save();
        QVERIFY(QFile::exists(m_file));

        TPlanSizes next(m_file);
        QCOMPARE(next.Size(Plan(), kForm, m_context.get(), fit.Fit()), fit.size);
        QCOMPARE(fit.calls, 1);
        // Another form is worked out.
        QCOMPARE(next.Size(Plan(), kForm + QSize(10, 0), m_context.get(), fit.Fit()), fit.size);
        QCOMPARE(fit.calls, 2);
    }

    // A run that found every size leaves the file as it was; one that worked a size out keeps
    // only what it asked for.
    void save_writesOnlyWhatIsNew()
    {
        const std::uint64_t key = TPlanSizes::Key(Plan(), kForm, m_context.get());
        QVERIFY(QDir().mkpath(QFileInfo(m_file).absolutePath()));
        const QByteArray old = TPlanSizes::Text({{key, QSize(300, 200)}, {key + 1, QSize(9, 9)}});
        WriteFile(old);

        CountingFit fit{QSize(1, 1)};
        TPlanSizes found(m_file);
        QCOMPARE(found.Size(Plan(), kForm, m_context.get(), fit.Fit()), QSize(300, 200));
        found.Save();
        QCOMPARE(ReadFile(), old);

        TPlanSizes worked(m_file);
        worked.Size(Plan(), kForm, m_context.get(), fit.Fit());
        worked.Size(Plan(), kForm + QSize(0, 5), m_context.get(), fit.Fit());
        worked.Save();
        const auto kept = TPlanSizes::Parse(ReadFile());
        QCOMPARE(kept.size(), std::size_t{2});
        QCOMPARE(kept.count(key + 1), std::size_t{0});
    }

    void parse_takesOnlyWhatIsOurs_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("sizes");
        QTest::newRow("empty") << QByteArray() << 0;
        QTest::newRow("another header") << QByteArray("lumidra plan sizes 2\nab 10 10\n") << 0;
        QTest::newRow("good") << QByteArray("lumidra plan sizes 1\nab 10 10\ncd 20 30\n") << 2;
        QTest::newRow("damaged lines skipped")
            << QByteArray("lumidra plan sizes 1\nxyz 10 10\nab 10\nab -1 10\ncd 0 10\n"
                          "ef 10 99999999\n12 10 10 10\n34 5 6\n")
            << 1;
        QTest::newRow("windows line ends")
            << QByteArray("lumidra plan sizes 1\r\nab 10 10\r\n") << 0;
    }
    void parse_takesOnlyWhatIsOurs()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, sizes);
        QCOMPARE(static_cast<int>(TPlanSizes::Parse(text).size()), sizes);
    }

    void text_readsBack()
    {
        const std::map<std::uint64_t, QSize> sizes = {
            {0, QSize(1, 2)}, {0xffffffffffffffffULL, QSize(640, 480)}, {42, QSize(537, 345)}};
        QCOMPARE(TPlanSizes::Parse(TPlanSizes::Text(sizes)), sizes);
    }

    // What cannot be read is worked out, and a cache that cannot be written costs nothing else.
    void unusableFile_workedOut_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("a folder") << QStringLiteral("folder");
        QTest::newRow("too large") << QStringLiteral("large");
        QTest::newRow("under a file") << QStringLiteral("large/plan-sizes");
    }
    void unusableFile_workedOut()
    {
        QFETCH(QString, name);
        QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("folder")));
        QFile large(m_dir.filePath(QStringLiteral("large")));
        QVERIFY(large.open(QIODevice::WriteOnly));
        large.write("lumidra plan sizes 1\n" + QByteArray(70 * 1024, '\n'));
        large.close();

        CountingFit fit{QSize(50, 60)};
        TPlanSizes sizes(m_dir.filePath(name));
        QCOMPARE(sizes.Size(Plan(), kForm, m_context.get(), fit.Fit()), fit.size);
        QCOMPARE(fit.calls, 1);
        sizes.Save();
    }

private:
    void WriteFile(const QByteArray &text)
    {
        QFile file(m_file);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    QByteArray ReadFile() const
    {
        QFile file(m_file);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir m_dir;
    QString m_file;
    std::unique_ptr<QWidget> m_context;
};

QTEST_MAIN(TestPlanSizes)
#include "test_plansizes.moc"
