// The player window's resize steps, banner placement and hide-list button over a recording target.
#include "forms/FormError.h"
#include "player/PlayerLayout.h"

#include <QMap>
#include <QTest>

using namespace Qt::StringLiterals;

namespace tivora {
namespace {

using playerlayout::Prop;

// Controls with their design values; negative sizes throw as the real controls do.
class FakeTarget final : public playerlayout::Target {
public:
    FakeTarget(float width, float height) : width_(width), height_(height) {
        put(u"QvodCtrl1"_s, 0, 0, 9135, 5175);
        put(u"Frame1"_s, 6720, 0, 2415, 6495);
        put(u"File1"_s, 0, 0, 2415, 3660);
        put(u"Command1"_s, 0, 3720, 1215, 495);
        put(u"Command2"_s, 1200, 3720, 1215, 495);
        put(u"Picture1"_s, 2640, 3240, 3735, 440);
        put(u"Label1"_s, 0, 120, 540, 180);
    }

    float outerWidth() const override { return width_; }
    float outerHeight() const override { return height_; }
    float get(QStringView view, Prop prop) const override {
        const QString control = view.toString();
        return values_.value(control).value(prop);
    }
    void set(QStringView view, Prop prop, float value) override {
        const QString control = view.toString();
        if ((prop == Prop::Width || prop == Prop::Height) && value < 0) {
            failed << control;
            throw InvalidPropertyValue(control);
        }
        writes << control + u'.' + name(prop);
        values_[control][prop] = value;
    }
    void setVisible(QStringView view, bool visible) override {
        const QString control = view.toString();
        writes << control + (visible ? u".show"_s : u".hide"_s);
        visible_[control] = visible;
    }

    [[nodiscard]] bool visible(const QString& control) const {
        return visible_.value(control, true);
    }

    QStringList writes;
    QStringList failed;

private:
    static QString name(Prop prop) {
        switch (prop) {
            case Prop::Left:
                return u"Left"_s;
            case Prop::Top:
                return u"Top"_s;
            case Prop::Width:
                return u"Width"_s;
            case Prop::Height:
                return u"Height"_s;
        }
        return {};
    }
    void put(const QString& control, float left, float top, float width, float height) {
        values_[control] = {
            {Prop::Left, left}, {Prop::Top, top}, {Prop::Width, width}, {Prop::Height, height}};
    }

    float width_;
    float height_;
    QMap<QString, QMap<Prop, float>> values_;
    QMap<QString, bool> visible_;
};

}  // namespace

class TestPlayerLayout final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void stepsRunInOrder() {
        FakeTarget target(11895, 7740);
        playerlayout::layOutPlayerWindow(target);
        const QStringList expected{u"QvodCtrl1.Width"_s, u"QvodCtrl1.Height"_s, u"Frame1.Left"_s,
                                   u"Frame1.Height"_s,   u"File1.Height"_s,     u"Command1.Top"_s,
                                   u"Command2.Top"_s,    u"Frame1.show"_s,      u"Picture1.Width"_s,
                                   u"Picture1.Left"_s,   u"Label1.Left"_s,      u"Picture1.Top"_s};
        QCOMPARE(target.writes, expected);
    }

    void layoutAtSizes_data() {
        QTest::addColumn<float>("width");
        QTest::addColumn<float>("height");
        QTest::addColumn<float>("videoWidth");
        QTest::addColumn<float>("videoHeight");
        QTest::addColumn<float>("paneLeft");
        QTest::addColumn<float>("paneHeight");
        QTest::addColumn<float>("listHeight");
        QTest::addColumn<float>("buttonsTop");
        QTest::addColumn<QStringList>("failed");
        QTest::newRow("design size") << 11895.0F << 7740.0F << 9400.0F << 7240.0F << 9400.0F
                                     << 7340.0F << 6845.0F << 6845.0F << QStringList{};
        QTest::newRow("large") << 28800.0F << 16200.0F << 26305.0F << 15700.0F << 26305.0F
                               << 15800.0F << 15305.0F << 15305.0F << QStringList{};
        QTest::newRow("narrower than the pane: video width kept, pane left negative")
            << 2000.0F << 7740.0F << 9135.0F << 7240.0F << -495.0F << 7340.0F << 6845.0F << 6845.0F
            << QStringList{u"QvodCtrl1"_s};
        QTest::newRow("exactly the pane") << 2495.0F << 7740.0F << 0.0F << 7240.0F << 0.0F
                                          << 7340.0F << 6845.0F << 6845.0F << QStringList{};
        QTest::newRow("lower than 500: height kept, pane from the old height")
            << 11895.0F << 400.0F << 9400.0F << 5175.0F << 9400.0F << 5275.0F << 4780.0F << 4780.0F
            << QStringList{u"QvodCtrl1"_s};
        QTest::newRow("tiny: list height would be negative")
            << 1000.0F << 0.0F << 9135.0F << 5175.0F << -1495.0F << 5275.0F << 4780.0F << 4780.0F
            << QStringList{u"QvodCtrl1"_s, u"QvodCtrl1"_s};
    }

    void layoutAtSizes() {
        QFETCH(float, width);
        QFETCH(float, height);
        FakeTarget target(width, height);
        playerlayout::layOutPlayerWindow(target);
        QTEST(target.get(u"QvodCtrl1"_s, Prop::Width), "videoWidth");
        QTEST(target.get(u"QvodCtrl1"_s, Prop::Height), "videoHeight");
        QTEST(target.get(u"Frame1"_s, Prop::Left), "paneLeft");
        QTEST(target.get(u"Frame1"_s, Prop::Height), "paneHeight");
        QTEST(target.get(u"File1"_s, Prop::Height), "listHeight");
        QTEST(target.get(u"Command1"_s, Prop::Top), "buttonsTop");
        QTEST(target.get(u"Command2"_s, Prop::Top), "buttonsTop");
        QTEST(target.failed, "failed");
        // Never touched by the layout.
        QCOMPARE(target.get(u"QvodCtrl1"_s, Prop::Left), 0.0F);
        QCOMPARE(target.get(u"Frame1"_s, Prop::Width), 2415.0F);
        QCOMPARE(target.get(u"Command2"_s, Prop::Left), 1200.0F);
        QCOMPARE(target.get(u"Picture1"_s, Prop::Height), 440.0F);
        QCOMPARE(target.get(u"Label1"_s, Prop::Top), 120.0F);
        QVERIFY(target.visible(u"Frame1"_s));
    }

    void listHeightFailsWhenTheButtonIsTaller() {
        // Height 400 fails step 2, so the pane is 200 high, less than the button's 495.
        FakeTarget low(11895, 400);
        low.set(u"QvodCtrl1"_s, Prop::Height, 100);
        playerlayout::layOutPlayerWindow(low);
        QCOMPARE(low.failed, (QStringList{u"QvodCtrl1"_s, u"File1"_s}));
        QCOMPARE(low.get(u"Frame1"_s, Prop::Height), 200.0F);
        QCOMPARE(low.get(u"File1"_s, Prop::Height), 3660.0F);
        QCOMPARE(low.get(u"Command1"_s, Prop::Top), 3660.0F);
    }

    void bannerPlacement_data() {
        QTest::addColumn<float>("width");
        QTest::addColumn<float>("height");
        QTest::addColumn<float>("labelWidth");
        QTest::addColumn<float>("left");
        QTest::addColumn<float>("top");
        QTest::newRow("design") << 11895.0F << 7740.0F << 540.0F << 5577.5F << 3430.0F;
        QTest::newRow("long text wider than the window")
            << 3000.0F << 2000.0F << 6000.0F << -1600.0F << 560.0F;
        QTest::newRow("low window: top above the client area")
            << 11895.0F << 500.0F << 540.0F << 5577.5F << -190.0F;
    }

    void bannerPlacement() {
        QFETCH(float, width);
        QFETCH(float, height);
        QFETCH(float, labelWidth);
        FakeTarget target(width, height);
        target.set(u"Label1"_s, Prop::Width, labelWidth);
        target.writes.clear();
        playerlayout::placeBanner(target);
        QCOMPARE(target.writes, (QStringList{u"Picture1.Width"_s, u"Picture1.Left"_s,
                                             u"Label1.Left"_s, u"Picture1.Top"_s}));
        QCOMPARE(target.get(u"Picture1"_s, Prop::Width), labelWidth + 200.0F);
        QTEST(target.get(u"Picture1"_s, Prop::Left), "left");
        QCOMPARE(target.get(u"Label1"_s, Prop::Left), 100.0F);
        QTEST(target.get(u"Picture1"_s, Prop::Top), "top");
    }

    void hideListGivesTheVideoTheWholeWidth() {
        FakeTarget target(11895, 7740);
        playerlayout::layOutPlayerWindow(target);
        target.writes.clear();
        playerlayout::hideList(target);
        QCOMPARE(target.writes, (QStringList{u"QvodCtrl1.Width"_s, u"Frame1.hide"_s}));
        QCOMPARE(target.get(u"QvodCtrl1"_s, Prop::Width), 11815.0F);
        QCOMPARE(target.get(u"QvodCtrl1"_s, Prop::Height), 7240.0F);
        QVERIFY(!target.visible(u"Frame1"_s));
        playerlayout::layOutPlayerWindow(target);
        QVERIFY(target.visible(u"Frame1"_s));
        QCOMPARE(target.get(u"QvodCtrl1"_s, Prop::Width), 9400.0F);
    }
};

}  // namespace tivora

QTEST_GUILESS_MAIN(tivora::TestPlayerLayout)
#include "tst_playerlayout.moc"
