// The main window's layout formulas on recorded values, before any pixel rounding.
#include "app/MainLayout.h"
#include "forms/FormError.h"

#include <QMap>
#include <QTest>

#include <stdexcept>

using namespace Qt::StringLiterals;

namespace tivora::layout {
namespace {

// Design values of the controls the formulas read.
class RecordingTarget final : public Target {
public:
    RecordingTarget(float w, float h) : w_(w), h_(h) {
        values_ = {
            {u"Frameright.Width"_s, 3855},  {u"Frameright.Left"_s, 8520},
            {u"Frameright.Height"_s, 8050}, {u"Framenr.Width"_s, 9100},
            {u"Framenr.Height"_s, 7335},    {u"Framenr.Left"_s, 960},
            {u"Framenr.Top"_s, 240},        {u"Image12.Width"_s, 3600},
            {u"Image12.Height"_s, 1050},    {u"Image12.Left"_s, 3480},
            {u"Image12.Top"_s, 3480},       {u"Image20.Width"_s, 2355},
            {u"Image27.Width"_s, 2355},     {u"Image24.Width"_s, 450},
            {u"Image19.Width"_s, 990},      {u"Picture3.Height"_s, 345},
            {u"Picture3.Width"_s, 8655},    {u"Image20.Top"_s, 720},
            {u"Image20.Left"_s, 120},       {u"Image21.Top"_s, 0},
        };
    }
    float outerWidth() const override { return w_; }
    float outerHeight() const override { return h_; }
    float get(QStringView view, Prop prop) const override {
        const QString control = view.toString();
        return values_.value(key(control, prop), 0);
    }
    void set(QStringView view, Prop prop, float value) override {
        const QString control = view.toString();
        if ((prop == Prop::Width || prop == Prop::Height) && value < 0) {
            throw InvalidPropertyValue(control);
        }
        values_[key(control, prop)] = value;
        written << key(control, prop);
    }
    void setVisible(QStringView /*control*/, bool /*visible*/) override {}
    [[nodiscard]] float operator()(const QString& name) const { return values_.value(name, -1); }
    QStringList written;

private:
    static QString key(const QString& control, Prop prop) {
        static const char* names[] = {"Left", "Top", "Width", "Height"};
        return control + u'.' + QString::fromLatin1(names[static_cast<int>(prop)]);
    }
    float w_;
    float h_;
    QMap<QString, float> values_;
};

}  // namespace

class TestMainLayout final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void workedExampleAtTheMinimumSize_data() {
        QTest::addColumn<QString>("property");
        QTest::addColumn<float>("value");
        const std::pair<const char*, float> expected[] = {
            {"WebBrowser2.Width", 13230}, {"WebBrowser2.Height", 8800}, {"Frameleft.Width", 13000},
            {"Frameleft.Height", 9000},   {"Picture1.Width", 13000},    {"Picture1.Height", 8960},
            {"Image1.Width", 13000},      {"Image1.Height", 8600},      {"Frameright.Left", 9145},
            {"Frameright.Height", 8091},  {"Picture2.Height", 8091},    {"Image2.Height", 8091},
            {"WebBrowser1.Height", 7616}, {"Framenr.Left", 22.5F},      {"Framenr.Top", 78},
            {"Image12.Left", 2772.5F},    {"Image12.Top", 3220.5F},     {"Image20.Left", 3395},
            {"Image20.Top", 4570.5F},     {"Image27.Top", 4570.5F},     {"Image28.Top", 4570.5F},
            {"Image27.Left", 990},        {"Image28.Left", 5800},       {"Image21.Top", 7513},
            {"Image22.Top", 7513},        {"Image23.Top", 7513},        {"Image24.Top", 7513},
            {"Image25.Top", 7513},        {"Image26.Top", 7513},        {"Image24.Left", 4122.5F},
            {"Image23.Left", 3572.5F},    {"Image21.Left", 3022.5F},    {"Image22.Left", 4672.5F},
            {"Image25.Left", 5222.5F},    {"Image26.Left", 5772.5F},    {"Picture3.Width", 9500},
            {"Picture3.Left", 1750},      {"Image13.Width", 9500},      {"Picture3.Top", 8075},
            {"Image19.Left", 8510},
        };
        for (const auto& [property, value] : expected) {
            QTest::newRow(property) << QString::fromLatin1(property) << value;
        }
    }

    void workedExampleAtTheMinimumSize() {
        QFETCH(QString, property);
        QFETCH(float, value);
        RecordingTarget target(13000, 9000);
        layOutMainWindow(target);
        QCOMPARE(target(property), value);  // exact, in single precision
    }

    void fortyStepsInOrder() {
        RecordingTarget target(13000, 9000);
        layOutMainWindow(target);
        QCOMPARE(target.written.size(), 40);
        QCOMPARE(target.written.front(), u"WebBrowser2.Width"_s);
        QCOMPARE(target.written.at(13), u"Framenr.Left"_s);
        QCOMPARE(target.written.at(37), u"Image13.Width"_s);
        QCOMPARE(target.written.back(), u"Image19.Left"_s);
    }

    void buttonRowIsNotSymmetricAboutTheContentPane() {
        RecordingTarget target(16000, 11000);
        layOutMainWindow(target);
        const float centre = target(u"Framenr.Left"_s) + 9100 / 2.0F;
        QCOMPARE(centre - target(u"Image21.Left"_s), 1550.0F);
        QCOMPARE(target(u"Image26.Left"_s) + 450 - centre, 1650.0F);
        QCOMPARE(target(u"Frameright.Left"_s) + 3855, 16000.0F);  // glued to the right edge
    }

    void failingStepsAreSkippedAndLaterStepsReadOldValues() {
        RecordingTarget target(2000, 150);  // a tiny, minimised-like window
        layOutMainWindow(target);
        QVERIFY(!target.written.contains(u"WebBrowser2.Height"_s));  // 150 - 200 < 0
        QVERIFY(!target.written.contains(u"Frameright.Height"_s));
        QCOMPARE(target(u"Frameright.Height"_s), 8050.0F);       // design value kept
        QCOMPARE(target(u"Picture2.Height"_s), 8050.0F);         // read the kept value
        QVERIFY(!target.written.contains(u"Picture3.Width"_s));  // 2000 - 3500 < 0
        QCOMPARE(target(u"Image13.Width"_s), 8655.0F);
        QVERIFY(!target.written.contains(u"Image1.Height"_s));
        QCOMPARE(target.written.size(), 40 - 4);
    }

    void skippingHelperRunsEveryStep() {
        QStringList ran;
        runSkippingFailures({[&] { ran << u"1"_s; },
                             [&] {
                                 ran << u"2"_s;
                                 throw InvalidPropertyValue(u"Width"_s);
                             },
                             [&] { ran << u"3"_s; }});
        QCOMPARE(ran, (QStringList{u"1"_s, u"2"_s, u"3"_s}));
    }

    // Only refused property writes are skipped: a misspelled control name must not pass unseen.
    void otherFailuresEscapeTheSkippingHelpers() {
        QVERIFY_THROWS_EXCEPTION(
            FormError,
            runSkippingFailures({[] { throw FormError(u"No control named Imag21"_s); }}));
        RecordingTarget target(13000, 9000);
        const Step misspelled[] = {
            {u"Imag21", Prop::Left, [](const Target&) -> float { throw FormError(u"Imag21"_s); }}};
        QVERIFY_THROWS_EXCEPTION(FormError, applySkippingFailures(target, misspelled));
    }
};

}  // namespace tivora::layout

QTEST_GUILESS_MAIN(tivora::layout::TestMainLayout)
#include "tst_mainlayout.moc"
