#include <QImage>
#include <QSet>
#include <QTest>

#include "art/Artwork.h"

using namespace Qt::StringLiterals;

class TestArtwork : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void picture_data() {
        QTest::addColumn<QString>("key");
        for (const QString& key : tivora::art::keys()) {
            QTest::newRow(qPrintable(key)) << key;
        }
    }

    void picture() {
        QFETCH(QString, key);
        const QSize size = tivora::art::pictureSize(key);
        QVERIFY(size.isValid());
        const QPixmap pixmap = tivora::art::picture(key);
        QVERIFY(!pixmap.isNull());
        QCOMPARE(pixmap.size(), size);

        // Real artwork, not a flat fill.
        const QImage image = pixmap.toImage();
        QSet<QRgb> colours;
        for (int y = 0; y < image.height() && colours.size() < 4; ++y) {
            for (int x = 0; x < image.width(); ++x) {
                colours.insert(image.pixel(x, y));
            }
        }
        QVERIFY2(colours.size() >= 4, qPrintable(key));
    }

    void unknownKey() {
        QVERIFY(tivora::art::picture(u"NoSuchPicture").isNull());
        QVERIFY(!tivora::art::pictureSize(u"NoSuchPicture").isValid());
    }
};

QTEST_MAIN(TestArtwork)
#include "tst_artwork.moc"
