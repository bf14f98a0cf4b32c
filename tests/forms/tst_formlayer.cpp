// The form layer: window lifecycle, twips geometry, stacking, events and the dispatch wrapper.
#include "forms/Control.h"
#include "forms/Form.h"
#include "forms/FormError.h"
#include "support/FakeServices.h"

#include <QLabel>
#include <QTest>

using namespace Qt::StringLiterals;
using tivora::test::FakeServices;

namespace tivora {
namespace {

const FormDesign kDesign{.caption = u"测试窗口"_s, .clientWidth = 6000, .clientHeight = 4500};

// clang-format off
const DesignRow kRows[] = {
    {.name = u"Frame1"_s, .kind = ControlKind::Frame, .left = 150, .top = 150, .width = 4500, .height = 3000},
    {.name = u"Image1"_s, .kind = ControlKind::Picture, .container = u"Frame1"_s, .left = 0, .top = 0, .width = 450, .height = 450},
    {.name = u"Label1"_s, .kind = ControlKind::Label, .container = u"Frame1"_s, .left = 0, .top = 0, .width = 630, .height = 210, .caption = u"Label1"_s, .autoSize = true},
    {.name = u"Image2"_s, .kind = ControlKind::Picture, .container = u"Frame1"_s, .left = 300, .top = 300, .width = 900, .height = 900, .visible = false},
    {.name = u"WebBrowser1"_s, .kind = ControlKind::Browser, .left = 0, .top = 3300, .width = 6000, .height = 1200},
};
// clang-format on

class TestForm final : public Form {
public:
    using Form::Form;
    using Form::msgBox;

    int loads = 0;
    int clicks = 0;
    int memberKeptAcrossUnload = 0;
    int cancelUnload = 0;
    QStringList steps;

protected:
    const FormDesign& design() const override { return kDesign; }
    std::span<const DesignRow> designTable() const override { return kRows; }
    void bindEvents() override {
        bindClick(u"Image1"_s, [this] { ++clicks; });
    }
    void onLoad() override {
        ++loads;
        ++memberKeptAcrossUnload;
    }
    void onUnload(int& cancel) override { cancel = cancelUnload; }
};

}  // namespace

class TestFormLayer final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void loadCreatesControlsAndRunsLoadHandlerOnce() {
        FakeServices services;
        TestForm form(services);
        QVERIFY(!form.isLoaded());
        QVERIFY_THROWS_EXCEPTION(FormError, (void)form.control(u"Image1"_s));

        form.show();
        QVERIFY(form.isLoaded());
        QVERIFY(form.isVisible());
        QCOMPARE(form.loads, 1);
        QCOMPARE(form.caption(), u"测试窗口"_s);

        form.hide();
        QVERIFY(!form.isVisible());
        QVERIFY(form.isLoaded());
        form.show();
        QCOMPARE(form.loads, 1);  // hide only hides
    }

    void unloadDestroysControlsButKeepsMembers() {
        FakeServices services;
        TestForm form(services);
        form.show();
        form.control(u"Image1"_s).setLeft(999);
        QPointer<QWidget> window = form.window();

        QVERIFY(form.unload());
        QVERIFY(!form.isLoaded());
        QVERIFY_THROWS_EXCEPTION(FormError, (void)form.control(u"Image1"_s));
        QTRY_VERIFY(window.isNull());

        form.show();
        QCOMPARE(form.loads, 2);
        QCOMPARE(form.memberKeptAcrossUnload, 2);
        QCOMPARE(form.control(u"Image1"_s).left(), 0.0F);  // controls start from their design
    }

    void cancelledUnloadKeepsWindow() {
        FakeServices services;
        TestForm form(services);
        form.show();
        form.cancelUnload = 1;
        QVERIFY(!form.unload());
        QVERIFY(form.isLoaded());
        QVERIFY(form.isVisible());

        // The close box goes through the same unload.
        form.window()->close();
        QVERIFY(form.isLoaded());
        form.cancelUnload = 0;
        form.window()->close();
        QVERIFY(!form.isLoaded());
    }

    void geometryIsKeptInTwipsAndPlacedAtRoundedPixels_data() {
        QTest::addColumn<float>("twips");
        QTest::addColumn<int>("pixels");
        QTest::newRow("whole pixel") << 450.0F << 30;
        QTest::newRow("rounds down") << 7575.0F << 505;
        QTest::newRow("half rounds away from zero") << 22.5F << 2;
        QTest::newRow("fraction") << 2772.5F << 185;
        QTest::newRow("negative") << -50.0F << -3;
        QTest::newRow("negative half") << -22.5F << -2;
        QTest::newRow("zero") << 0.0F << 0;
    }

    void geometryIsKeptInTwipsAndPlacedAtRoundedPixels() {
        QFETCH(float, twips);
        QFETCH(int, pixels);
        FakeServices services;
        TestForm form(services);
        form.show();
        Control& image = form.control(u"Image1"_s);
        image.setLeft(twips);
        image.setTop(twips);
        QCOMPARE(image.left(), twips);
        QCOMPARE(image.top(), twips);
        QCOMPARE(image.widget()->x(), pixels);
        QCOMPARE(image.widget()->y(), pixels);
        if (twips >= 0) {
            image.setWidth(twips);
            QCOMPARE(image.width(), twips);
            QCOMPARE(image.widget()->width(), pixels);
        }
    }

    void negativeSizeIsAnInvalidPropertyValue() {
        FakeServices services;
        TestForm form(services);
        form.show();
        Control& image = form.control(u"Image1"_s);
        QVERIFY_THROWS_EXCEPTION(InvalidPropertyValue, image.setWidth(-1));
        QVERIFY_THROWS_EXCEPTION(InvalidPropertyValue, image.setHeight(-0.5F));
        QCOMPARE(image.width(), 450.0F);
        QCOMPARE(image.height(), 450.0F);
        QVERIFY_THROWS_EXCEPTION(InvalidPropertyValue, form.setWidth(-15));
        QVERIFY_THROWS_EXCEPTION(InvalidPropertyValue, form.setHeight(-15));
    }

    void designVisibilityAndStackingOrder() {
        FakeServices services;
        TestForm form(services);
        form.show();
        QVERIFY(form.control(u"Image1"_s).visible());
        QVERIFY(!form.control(u"Image2"_s).visible());
        QVERIFY(form.control(u"Image2"_s).widget()->isHidden());

        // Qt paints later children over earlier ones; the table lists the topmost first.
        const QObjectList children = form.control(u"Frame1"_s).widget()->children();
        const auto index = [&](const QString& name) {
            return children.indexOf(form.control(name).widget());
        };
        QVERIFY(index(u"Image1"_s) > index(u"Label1"_s));
        QVERIFY(index(u"Label1"_s) > index(u"Image2"_s));
        QCOMPARE(form.control(u"Image1"_s).widget()->parentWidget(),
                 form.control(u"Frame1"_s).widget());
        QCOMPARE(form.control(u"WebBrowser1"_s).widget()->parentWidget(), form.window());
    }

    void outerSizeIsReadFromTheFrame() {
        FakeServices services;
        TestForm form(services);
        form.show();
        QCOMPARE(form.width(), form.window()->frameGeometry().width() * 15.0F);
        QCOMPARE(form.height(), form.window()->frameGeometry().height() * 15.0F);
        form.setWidth(9000);
        form.setHeight(7500);
        QCOMPARE(form.width(), 9000.0F);
        QCOMPARE(form.height(), 7500.0F);
    }

    void autoSizedLabelTakesTheSizeOfItsCaption() {
        FakeServices services;
        TestForm form(services);
        form.show();
        Control& label = form.control(u"Label1"_s);
        QCOMPARE(label.width(), 630.0F);  // design size until the caption changes
        label.setCaption(u"开始播放"_s);
        const QFontMetrics metrics(label.widget()->font());
        QCOMPARE(label.width(), metrics.horizontalAdvance(u"开始播放"_s) * 15.0F);
        QCOMPARE(label.caption(), u"开始播放"_s);
        QVERIFY_THROWS_EXCEPTION(FormError, form.control(u"Frame1"_s).setCaption(u"x"_s));
    }

    void clickRunsBoundHandler() {
        FakeServices services;
        TestForm form(services);
        form.show();
        QTest::mouseClick(form.control(u"Image1"_s).widget(), Qt::LeftButton);
        QTest::mouseClick(form.control(u"Image1"_s).widget(), Qt::RightButton);
        QCOMPARE(form.clicks, 2);
    }

    void escapedFailureBecomesUnexpectedErrorAndKeepsStepsDone() {
        FakeServices services;
        TestForm form(services);
        form.show();
        form.dispatch([&] {
            form.steps << u"one"_s;
            form.control(u"Image1"_s).setWidth(-10);
            form.steps << u"two"_s;
        });
        QCOMPARE(form.steps, QStringList{u"one"_s});
        QCOMPARE(services.messages.size(), 1);
        // Chinese only: the internal detail goes to stderr.
        QCOMPARE(services.messages.front().prompt, u"程序发生意外错误，本次操作未完成。"_s);
        QCOMPARE(services.messages.front().title, u"Tivora"_s);
        // The program goes on: the next handler runs normally.
        form.dispatch([&] { form.steps << u"three"_s; });
        QCOMPARE(form.steps.size(), 2);
    }

    void messageBoxTitleDefaultsToProductName() {
        FakeServices services;
        TestForm form(services);
        services.answers = {MsgBox::AnswerYes};
        QCOMPARE(form.msgBox(u"确定？"_s, MsgBox::YesNoInformation, u"提示"_s), MsgBox::AnswerYes);
        form.msgBox(u"完成"_s);
        QCOMPARE(services.messages.at(0).title, u"提示"_s);
        QCOMPARE(services.messages.at(0).style, 68);
        QCOMPARE(services.messages.at(1).title, u"Tivora"_s);
        QCOMPARE(services.messages.at(1).style, 0);
    }
};

}  // namespace tivora

QTEST_MAIN(tivora::TestFormLayer)
#include "tst_formlayer.moc"
