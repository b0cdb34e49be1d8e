// SPDX-License-Identifier: GPL-3.0-or-later
// The program's pictures and its style's two drawings read without Qt's image reader: the same
// pixels as Qt gives, a clear failure on damaged data, and widgets drawn exactly as the plain
// style draws them.
#include "components/appstyle.h"
#include "components/pngimage.h"

#include <QDirIterator>
#include <QGroupBox>
#include <QLabel>
#include <QStyleFactory>
#include <QVBoxLayout>
#include <QtTest>

#include <memory>

namespace {

// A widget drawn whole, with the given style on it and on everything it holds.
QImage Drawn(QWidget *widget, QStyle *style)
{
    widget->setStyle(style);
    for (QWidget *child : widget->findChildren<QWidget *>())
        child->setStyle(style);
    widget->ensurePolished();
    return widget->grab().toImage();
}

} // namespace

class TestAppStyle : public QObject
{
    Q_OBJECT

private slots:
    void readPng_givesQtsPixels_data()
    {
        QTest::addColumn<QString>("path");
        for (const char *folder : {":/pictures", ":/icons"}) {
            QDirIterator files(QLatin1String(folder), QDir::Files);
            while (files.hasNext()) {
                const QString file = files.next();
                QTest::newRow(qPrintable(file)) << file;
            }
        }
        QTest::newRow("Fusion's group box frame")
            << QStringLiteral(":/qt-project.org/styles/commonstyle/images/fusion_groupbox.png");
    }
    void readPng_givesQtsPixels()
    {
        QFETCH(QString, path);
        const QImage ours = ReadPng(path);
        QVERIFY(!ours.isNull());
        // Qt's reader marks "@2x" files as drawn at twice the density; Picture() does that here.
        QImage qts = QImage(path).convertToFormat(QImage::Format_ARGB32);
        qts.setDevicePixelRatio(1);
        QCOMPARE(ours, qts);
    }

    void decodePng_refusesDamagedData_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QFile picture(QStringLiteral(":/pictures/camera.png"));
        QVERIFY(picture.open(QIODevice::ReadOnly));
        const QByteArray png = picture.readAll();
        QByteArray noPixels = png;
        noPixels.truncate(noPixels.indexOf("IDAT") + 10);
        QByteArray badChecksum = png;
        badChecksum[png.indexOf("IDAT") + 8] ^= 0x55; // inside the compressed pixels
        QTest::newRow("nothing") << QByteArray();
        QTest::newRow("no PNG") << QByteArray("GIF89a and so on");
        QTest::newRow("header only") << png.left(33);
        QTest::newRow("cut inside the pixels") << noPixels;
        QTest::newRow("damaged pixels") << badChecksum;
    }
    void decodePng_refusesDamagedData()
    {
        QFETCH(QByteArray, bytes);
        QVERIFY(DecodePng(bytes).isNull());
    }

    void readPng_missingFile() { QVERIFY(ReadPng(QStringLiteral(":/pictures/none.png")).isNull()); }

    void groupBox_drawnAsFusionDraws_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("checkable");
        QTest::newRow("with a title") << QStringLiteral("Pinhole") << false;
        QTest::newRow("without a title") << QString() << false;
        QTest::newRow("with a check box") << QStringLiteral("Pinhole") << true;
        QTest::newRow("check box, no title") << QString() << true;
    }
    void groupBox_drawnAsFusionDraws()
    {
        QFETCH(QString, title);
        QFETCH(bool, checkable);
        const auto make = [&] {
            auto box = std::make_unique<QGroupBox>(title);
            box->setCheckable(checkable);
            auto *layout = new QVBoxLayout(box.get());
            layout->addWidget(new QLabel(QStringLiteral("f 250")));
            box->resize(160, 90);
            return box;
        };
        std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("fusion")));
        TAppStyle ours(QStringLiteral("fusion"));
        const auto plainBox = make();
        const auto ourBox = make();
        QCOMPARE(Drawn(ourBox.get(), &ours), Drawn(plainBox.get(), fusion.get()));
    }

    // The menu bar's overflow arrow is read when drawn, and is then Fusion's own.
    void overflowArrow_sameIcon()
    {
        std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("fusion")));
        TAppStyle ours(QStringLiteral("fusion"));
        for (const auto which : {QStyle::SP_ToolBarHorizontalExtensionButton,
                                 QStyle::SP_ToolBarVerticalExtensionButton}) {
            const QIcon plain = fusion->standardIcon(which);
            const QIcon deferred = ours.standardIcon(which);
            QCOMPARE(deferred.availableSizes(), plain.availableSizes());
            for (const int side : {16, 32})
                QCOMPARE(deferred.pixmap(side).toImage(), plain.pixmap(side).toImage());
        }
    }
};

QTEST_MAIN(TestAppStyle)
#include "test_appstyle.moc"
