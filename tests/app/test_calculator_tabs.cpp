// SPDX-License-Identifier: GPL-3.0-or-later
// The diameter, angle of view and magnification pages, each on its own without the main
// window: results follow the inputs as they are typed, and the angle diagram is drawn where it
// belongs.
#include "app/pages/anglepage.h"
#include "app/pages/diameterpage.h"
#include "app/pages/magnificationpage.h"
#include "components/anglediagram.h"
#include "tests/app/opticswindow.h"
#include "tools/settings.h"

#include <QGroupBox>
#include <QLabel>
#include <QTabWidget>

#include <cmath>

namespace {

const QRgb kNavy = qRgb(0, 0, 128);
const QRgb kWhite = qRgb(255, 255, 255);

QRgb PixelAt(const QImage &image, int x, int y)
{
    return image.pixel(x, y) | 0xff000000;
}

// The contrast ratio of two colours as the accessibility guidelines measure it, from 1 : 1
// to 21 : 1 (white on black): (L1 + 0.05) / (L2 + 0.05) of their relative luminances.
double Contrast(QRgb a, QRgb b)
{
    const auto luminance = [](QRgb c) {
        const auto linear = [](int v) {
            const double s = v / 255.0;
            return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(qRed(c)) + 0.7152 * linear(qGreen(c)) + 0.0722 * linear(qBlue(c));
    };
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// A dark desktop theme: light text on dark grey.
QPalette DarkPalette()
{
    QPalette dark;
    const std::pair<QPalette::ColorRole, QColor> roles[] = {
        {QPalette::Window, QColor(53, 53, 53)}, {QPalette::WindowText, Qt::white},
        {QPalette::Base, QColor(42, 42, 42)},   {QPalette::Text, Qt::white},
        {QPalette::Button, QColor(53, 53, 53)}, {QPalette::ButtonText, Qt::white},
        {QPalette::Light, QColor(80, 80, 80)},  {QPalette::Midlight, QColor(66, 66, 66)},
        {QPalette::Mid, QColor(37, 37, 37)},    {QPalette::Dark, QColor(25, 25, 25)},
        {QPalette::Shadow, QColor(10, 10, 10)}, {QPalette::Highlight, QColor(42, 130, 218)},
    };
    for (const auto &[role, colour] : roles)
        dark.setColor(role, colour);
    return dark;
}

} // namespace

class TestCalculatorTabs : public QObject, FieldDriver
{
    Q_OBJECT

private:
    std::vector<const QWidget *> Roots() const override
    {
        return {m_diameter.get(), m_angle.get(), m_magnification.get()};
    }

    // Each page built and shown on its own, on a settings store of its own.
    void MakePages()
    {
        m_settings = std::make_unique<ScratchSettings>();
        tools::DecNum = 3;
        tools::MainUnit = 0;
        tools::AngleUnit = 0;
        m_diameter = std::make_unique<DiameterPage>();
        m_angle = std::make_unique<AnglePage>();
        m_magnification = std::make_unique<MagnificationPage>();
        for (CalculatorPage *page : {static_cast<CalculatorPage *>(m_diameter.get()),
                                     static_cast<CalculatorPage *>(m_angle.get()),
                                     static_cast<CalculatorPage *>(m_magnification.get())}) {
            page->resize(521, 323);
            page->show();
        }
    }

    QStringList DiameterTabResults() const
    {
        return {Text("edOptimalDistance1"), Text("edOptimalDiameter1"), Text("edFnumber1"),
                Text("edFnumberFactor1")};
    }

    TAngleDiagram *Diagram() const { return Get<TAngleDiagram>("PaintBox"); }

    void TypeAngleInputs(const QString &a, const QString &b, const QString &focal) const
    {
        Type("edFormatA", a);
        Type("edFormatB", b);
        Type("edImageDistance2", focal);
    }

private slots:
    void initTestCase()
    {
        InitDecimalSeparator();
        SetErrorReporter([this](QWidget *, const QString &message) { m_errors << message; });
    }
    void cleanupTestCase() { SetErrorReporter({}); }
    void init()
    {
        m_errors.clear();
        MakePages();
    }
    void cleanup()
    {
        m_diameter.reset();
        m_angle.reset();
        m_magnification.reset();
        QVERIFY2(m_errors.isEmpty(), qPrintable(m_errors.join(u'\n')));
    }

    void startsBlank()
    {
        QVERIFY(!Get<QLabel>("imgEye")->isVisibleTo(m_angle.get()));
        QVERIFY(!Diagram()->HasDiagram());
        const struct
        {
            const char *label;
            QSize size;
        } pictures[] = {{"imgFormula", {63, 15}},
                        {"imgArrow1", {16, 16}},
                        {"imgArrow2", {16, 16}},
                        {"imgEye", {16, 16}},
                        {"imgLegend", {27, 24}}};
        for (const auto &picture : pictures) {
            const QPixmap pixmap = Get<QLabel>(picture.label)->pixmap();
            QVERIFY2(!pixmap.isNull(), picture.label);
            QCOMPARE(pixmap.deviceIndependentSize().toSize(), picture.size);
        }
    }

    void diameterTab_data()
    {
        QTest::addColumn<QString>("diameter");
        QTest::addColumn<QString>("focal");
        // Optimal focal length, optimal diameter, f number, exposure factor.
        QTest::addColumn<QStringList>("results");
        const struct
        {
            const char *name;
            const char *diameter;
            const char *focal;
            QStringList results;
        } rows[] = {
            {"nothing typed", "", "", {"", "", "", ""}},
            // 1.9 * sqrt(50 * 0.00055) = 0.31508
            {"focal length 50", "", "50", {"", "0.315", "", ""}},
            // (0.3 / 1.9)^2 / 0.00055 = 45.3286
            {"diameter 0.3", "0.3", "", {"45.329", "", "", ""}},
            // 50 / 0.3 = 166.67 shows 167; (167 / 22)^2 = 57.62
            {"both", "0.3", "50", {"45.329", "0.315", "167", "57.6"}},
            // The factor follows the f number shown: (31 / 22)^2 = 1.986 shows 2.
            // (1 / 1.9)^2 / 0.00055 = 503.651; 1.9 * sqrt(31 * 0.00055) = 0.2481
            {"f number 31", "1", "31", {"503.651", "0.248", "31", "2"}},
        };
        for (const auto &row : rows)
            QTest::newRow(row.name) << row.diameter << row.focal << row.results;
    }

    void diameterTab()
    {
        QFETCH(QString, diameter);
        QFETCH(QString, focal);
        QFETCH(QStringList, results);
        Type("edPinholeDiameter1", diameter);
        Type("edImageDistance1", focal);
        QCOMPARE(DiameterTabResults(), Local(results));
    }

    // Each change recalculates what depends on it, starting from d = 0.3 mm and f = 50 mm.
    void diameterTabTriggers_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QStringList>("results");
        QTest::newRow("wavelength emptied") << "edWave1" << QStringList{"", "", "167", "57.6"};
        // 0.31508 mm = 0.0124 in
        QTest::newRow("optimal diameter in inches")
            << "cbUnits4" << QStringList{"45.329", "0.012", "167", "57.6"};
        // 45.3286 mm = 1.7846 in
        QTest::newRow("optimal focal length in inches")
            << "cbUnits3" << QStringList{"1.785", "0.315", "167", "57.6"};
        // 2 * sqrt(50 * 0.00055) = 0.33166; (0.3 / 2)^2 / 0.00055 = 40.909
        QTest::newRow("first Fresnel zone picked")
            << "cbConstant1" << QStringList{"40.909", "0.332", "167", "57.6"};
    }

    void diameterTabTriggers()
    {
        QFETCH(QString, change);
        QFETCH(QStringList, results);
        Type("edPinholeDiameter1", "0.3");
        Type("edImageDistance1", "50");
        if (change == "edWave1")
            Type("edWave1", "");
        else if (change == "cbConstant1")
            PickInList(ConstantList(0), 0);
        else
            SetUnit(qPrintable(change), "in");
        QCOMPARE(DiameterTabResults(), Local(results));
    }

    void angleOfView_data()
    {
        QTest::addColumn<QString>("focal");
        QTest::addColumn<int>("angleUnit");
        QTest::addColumn<QString>("angle");
        QTest::addColumn<QPoint>("upperEnd");
        QTest::addColumn<QPoint>("lowerEnd");
        // Format 24 x 36 mm, diagonal 43.267 mm.
        const struct
        {
            const char *focal;
            const char *dms;
            const char *decimal;
            QPoint upper;
            QPoint lower;
        } rows[] = {
            {"50", "46°47'35\"", "46.793°", {230, 32}, {230, 232}},
            {"20", "94°29'36\"", "94.493°", {122, 0}, {122, 264}},
            // The diagonal: the navy lines lie on the white ones. Trailing zeros are dropped.
            {"43.2666", "53°7'48\"", "53.13°", {230, 17}, {230, 247}},
        };
        for (const auto &row : rows) {
            QTest::addRow("%s mm, DMS", row.focal)
                << row.focal << 0 << row.dms << row.upper << row.lower;
            QTest::addRow("%s mm, decimal", row.focal)
                << row.focal << 1 << row.decimal << row.upper << row.lower;
        }
    }

    void angleOfView()
    {
        QFETCH(QString, focal);
        QFETCH(int, angleUnit);
        QFETCH(QString, angle);
        QFETCH(QPoint, upperEnd);
        QFETCH(QPoint, lowerEnd);
        tools::AngleUnit = angleUnit;
        TypeAngleInputs("24", "36", focal);
        QCOMPARE(Text("edAngle"), Local(angle));
        QVERIFY(Get<QLabel>("imgEye")->isVisible());
        QVERIFY(Diagram()->HasDiagram());
        const tools::AngleDiagram &lines = *Diagram()->Diagram();
        QCOMPARE(QPoint(lines.chosen[0].x, lines.chosen[0].y), upperEnd);
        QCOMPARE(QPoint(lines.chosen[1].x, lines.chosen[1].y), lowerEnd);

        // Emptying the focal length clears it all again.
        Type("edImageDistance2", "");
        QCOMPARE(Text("edAngle"), "");
        QVERIFY(!Get<QLabel>("imgEye")->isVisible());
        QVERIFY(!Diagram()->HasDiagram());
    }

    // Where the lines end on screen. The surface's pixels run from 0 to 229 and 0 to 263, so an
    // end at x = 230 or y = 264 lies just outside it: the line's last pixel is then the one in
    // the outermost column or row, within a pixel of the line's exact height or position there.
    // An end at y = 0 is itself the last pixel.
    void diagramPixels_data()
    {
        QTest::addColumn<QString>("focal");
        QTest::addColumn<QPointF>("upper"); // exact point of the upper line in the last column/row
        QTest::addColumn<QPointF>("lower");
        // f = 50: the lines end at (230, 32) and (230, 232), rising 100 over 230 pixels, so in
        // column 229 they stand at 132 -/+ 100 * 229/230 = 32.43 and 231.57.
        QTest::newRow("rays leave through the right edge")
            << "50" << QPointF(229, 32.43) << QPointF(229, 231.57);
        // f = 20: the lines end at (122, 0) and (122, 264); in row 263 the lower line stands at
        // x = 122 * 131/132 = 121.08.
        QTest::newRow("rays leave through top and bottom")
            << "20" << QPointF(122, 0) << QPointF(121.08, 263);
    }

    void diagramPixels()
    {
        QFETCH(QString, focal);
        QFETCH(QPointF, upper);
        QFETCH(QPointF, lower);
        TypeAngleInputs("24", "36", focal);
        const QImage image = Diagram()->grab().toImage();
        QCOMPARE(image.size(), QSize(230, 264));

        // Navy on one of the pixels next to an exact point (the point's own when it is whole).
        auto navyNear = [&image](QPointF exact) {
            const int xs[] = {int(std::floor(exact.x())), int(std::ceil(exact.x()))};
            const int ys[] = {int(std::floor(exact.y())), int(std::ceil(exact.y()))};
            for (const int x : xs) {
                for (const int y : ys) {
                    if (image.rect().contains(x, y) && PixelAt(image, x, y) == kNavy)
                        return true;
                }
            }
            return false;
        };
        QVERIFY(navyNear(upper));
        QVERIFY(navyNear(lower));
        // The apex, and the white dotted lines of the normal lens along their way.
        QCOMPARE(PixelAt(image, 0, 132), kNavy);
        int white = 0;
        for (int x = 0; x < 230; ++x)
            white += PixelAt(image, x, 132 - (x + 1) / 2) == kWhite ? 1 : 0;
        QVERIFY(white > 40);
        // The corners keep the surface's colour.
        const QRgb surface = PixelAt(image, 5, 5);
        QVERIFY(surface != kWhite && surface != kNavy);
        QCOMPARE(PixelAt(image, 229, 0), surface);
        QCOMPARE(PixelAt(image, 229, 263), surface);
    }

    // A tiny and a huge angle: the navy lines hug the horizontal through the apex or the left
    // edge, and nothing is drawn around the surface.
    // The white lines of the normal lens and the navy lines of the chosen angle stand out from
    // the diagram's surface, and the legend's samples from the legend's, by the 3 : 1 that
    // lines and symbols need to be seen, under Qt's light palette and under a dark one.
    void referenceLinesStandOut_data()
    {
        QTest::addColumn<QPalette>("palette");
        QTest::newRow("light palette") << QApplication::style()->standardPalette();
        QTest::newRow("dark palette") << DarkPalette();
    }

    void referenceLinesStandOut()
    {
        QFETCH(QPalette, palette);
        m_angle->setPalette(palette);
        TypeAngleInputs("24", "36", "50");
        struct Picture
        {
            const char *name;
            QImage image;
            QPoint empty; // a pixel of the bare surface
            int whiteRow; // -1: anywhere
        };
        const Picture pictures[] = {
            {"diagram", Diagram()->grab().toImage(), QPoint(5, 5), -1},
            {"legend", Get<QLabel>("imgLegend")->grab().toImage(), QPoint(13, 10), 20},
        };
        for (const Picture &p : pictures) {
            const QRgb surface = PixelAt(p.image, p.empty.x(), p.empty.y());
            int white = 0;
            int navy = 0;
            for (int y = 0; y < p.image.height(); ++y)
                for (int x = 0; x < p.image.width(); ++x) {
                    const QRgb pixel = PixelAt(p.image, x, y);
                    white += pixel == kWhite && (p.whiteRow < 0 || y == p.whiteRow) ? 1 : 0;
                    navy += pixel == kNavy ? 1 : 0;
                }
            QVERIFY2(white >= 10 && navy >= 10, p.name);
            const double onWhite = Contrast(kWhite, surface);
            const double onNavy = Contrast(kNavy, surface);
            QVERIFY2(
                onWhite >= 3,
                qPrintable(
                    QStringLiteral("%1: white %2 : 1").arg(QLatin1String(p.name)).arg(onWhite)));
            QVERIFY2(onNavy >= 3,
                     qPrintable(
                         QStringLiteral("%1: navy %2 : 1").arg(QLatin1String(p.name)).arg(onNavy)));
        }
    }

    void diagramExtremes_data()
    {
        QTest::addColumn<QString>("focal");
        QTest::addColumn<QRect>("navyArea");
        QTest::addColumn<QPoint>("farEnd");
        QTest::newRow("tiny angle") << "10000000" << QRect(0, 131, 230, 3) << QPoint(229, 132);
        QTest::newRow("wide angle") << "0.0001" << QRect(0, 0, 2, 264) << QPoint(0, 263);
    }

    void diagramExtremes()
    {
        QFETCH(QString, focal);
        QFETCH(QRect, navyArea);
        QFETCH(QPoint, farEnd);
        TypeAngleInputs("24", "36", focal);
        const QImage image = Diagram()->grab().toImage();
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (PixelAt(image, x, y) == kNavy && !navyArea.contains(x, y))
                    QFAIL(qPrintable(QStringLiteral("navy at %1,%2").arg(x).arg(y)));
            }
        }
        QCOMPARE(PixelAt(image, farEnd.x(), farEnd.y()), kNavy);

        auto *group = Get<QGroupBox>("GroupBox3");
        const QImage around = group->grab().toImage();
        const QRect inner = Diagram()->geometry();
        const QRect ring = inner.adjusted(-1, -1, 1, 1);
        for (int y = ring.top(); y <= ring.bottom(); ++y) {
            for (int x = ring.left(); x <= ring.right(); ++x) {
                if (inner.contains(x, y))
                    continue;
                const QRgb pixel = PixelAt(around, x, y);
                QVERIFY2(pixel != kNavy && pixel != kWhite,
                         qPrintable(QStringLiteral("line colour at %1,%2").arg(x).arg(y)));
            }
        }
    }

    void magnification_data()
    {
        QTest::addColumn<QString>("distance"); // m
        QTest::addColumn<QString>("focal");    // mm
        QTest::addColumn<QString>("size");     // m
        QTest::addColumn<QString>("resultUnit");
        QTest::addColumn<QString>("magnification");
        QTest::addColumn<QString>("sizeOnFilm");
        const struct
        {
            const char *name;
            const char *inputs[4];
            const char *results[2];
        } rows[] = {
            // 50 / 2000 = 0.025; 1800 * 0.025 = 45 mm
            {"worked example", {"2", "50", "1.8", "mm"}, {"0.025", "45"}},
            // 45 mm = 1.7717 in
            {"size in inches", {"2", "50", "1.8", "in"}, {"0.025", "1.772"}},
            {"no subject size", {"2", "50", "", "mm"}, {"0.025", ""}},
        };
        for (const auto &row : rows) {
            QTest::newRow(row.name) << row.inputs[0] << row.inputs[1] << row.inputs[2]
                                    << row.inputs[3] << row.results[0] << row.results[1];
        }
    }

    void magnification()
    {
        QFETCH(QString, distance);
        QFETCH(QString, focal);
        QFETCH(QString, size);
        QFETCH(QString, resultUnit);
        QFETCH(QString, magnification);
        QFETCH(QString, sizeOnFilm);
        SetUnit("cbUnitsC1", "m");
        SetUnit("cbUnitsC2", "m");
        Type("edObjectdistance", distance);
        Type("edImageDistance3", focal);
        Type("edObjectSize", size);
        SetUnit("cbUnits7", resultUnit);
        QCOMPARE(Text("edMagnification"), Local(magnification));
        QCOMPARE(Text("edSizeOnFilm"), Local(sizeOnFilm));
    }

private:
    std::unique_ptr<ScratchSettings> m_settings;
    std::unique_ptr<DiameterPage> m_diameter;
    std::unique_ptr<AnglePage> m_angle;
    std::unique_ptr<MagnificationPage> m_magnification;
    QStringList m_errors;
};

QTEST_MAIN(TestCalculatorTabs)
#include "test_calculator_tabs.moc"
