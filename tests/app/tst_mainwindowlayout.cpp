// The main window's resize handling and hover captions on a real (offscreen) window.
#include "app/MainWindow.h"
#include "forms/Control.h"
#include "forms/ControlWidgets.h"
#include "support/TestWindows.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace tivora {
namespace {

struct MainWindowRun : test::TestWindows {
    MainWindowRun() : TestWindows(AppConfig{.portalRoot = u"http://vod.example.com"_s}) {
        form().show();
    }
    Form& form() { return forms.form(FormId::Main); }
    float value(const QString& name, float (Control::*get)() const) {
        return (form().control(name).*get)();
    }
    void hover(const QString& name) {
        Q_EMIT qobject_cast<ClickableLabel*>(form().control(name).widget())->mouseMoved();
    }
};

}  // namespace

class TestMainWindowLayout final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void sizesSnapOrStay_data() {
        QTest::addColumn<QSize>("requested");  // outer size in pixels, frame included
        QTest::addColumn<QSize>("final");
        QTest::newRow("too narrow: both dimensions reset") << QSize(800, 633) << QSize(867, 600);
        QTest::newRow("too low") << QSize(1000, 500) << QSize(867, 600);
        QTest::newRow("one by one") << QSize(1, 1) << QSize(867, 600);
        QTest::newRow("exactly the minimum") << QSize(867, 600) << QSize(867, 600);
        QTest::newRow("larger") << QSize(1200, 800) << QSize(1200, 800);
        QTest::newRow("huge") << QSize(20000, 20000) << QSize(20000, 20000);
    }

    void sizesSnapOrStay() {
        QFETCH(QSize, requested);
        QFETCH(QSize, final);
        MainWindowRun w;
        QWidget* window = w.form().window();
        const QSize frame = window->frameGeometry().size() - window->size();
        window->resize((requested - frame).expandedTo(QSize(1, 1)));
        QTRY_COMPARE(window->frameGeometry().size(), final);
        QTest::qWait(20);
        QCOMPARE(window->frameGeometry().size(), final);
        // The last layout is the one for the final size.
        const float width = final.width() * 15.0F;
        const float height = final.height() * 15.0F;
        QCOMPARE(w.value(u"Frameright"_s, &Control::left), width - 3855);
        QCOMPARE(w.value(u"Frameright"_s, &Control::height), (height - 300) * 0.93F);
        QCOMPARE(w.value(u"Picture3"_s, &Control::top), height - 345 - 580);
        QCOMPARE(w.value(u"Frameleft"_s, &Control::width), width);
        // Hidden controls are laid out too.
        QVERIFY(!w.form().control(u"Framenr"_s).visible());
        QCOMPARE(w.value(u"Framenr"_s, &Control::left), (width - 3855) / 2.0F - 9100 / 2.0F);
        QVERIFY(w.services.messages.isEmpty());
    }

    void minimisedAndMaximisedWindowsRaiseNoMessage() {
        MainWindowRun w;
        w.form().window()->showMinimized();
        QTest::qWait(50);
        w.form().window()->showMaximized();
        QTest::qWait(50);
        w.form().window()->showNormal();
        w.form().window()->resize(1000, 700);
        QTRY_COMPARE(w.value(u"Frameright"_s, &Control::left), w.form().width() - 3855);
        QCOMPARE(w.form().width(), w.form().window()->frameGeometry().width() * 15.0F);
        QVERIFY(w.services.messages.isEmpty());
    }

    void designValuesStayWhereNoFormulaReaches() {
        MainWindowRun w;
        w.form().window()->resize(1100, 700);
        QTRY_COMPARE(w.value(u"Frameright"_s, &Control::left), w.form().width() - 3855);
        QVERIFY(w.form().width() > 1100 * 15.0F - 1);
        QCOMPARE(w.value(u"WebBrowser2"_s, &Control::left), -50.0F);
        QCOMPARE(w.value(u"WebBrowser2"_s, &Control::top), -350.0F);
        QCOMPARE(w.value(u"WebBrowser3"_s, &Control::width), 9155.0F);
        QCOMPARE(w.value(u"Text1"_s, &Control::left), 0.0F);
        QCOMPARE(w.value(u"Image18"_s, &Control::top), 2160.0F);
    }

    void captionFollowsTheHoveredButton_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("text");
        QTest::newRow("Image21") << u"Image21"_s << u"开始播放"_s;
        QTest::newRow("Image22") << u"Image22"_s << u"加入收藏"_s;
        QTest::newRow("Image23") << u"Image23"_s << u"正在播放"_s;
        QTest::newRow("Image24") << u"Image24"_s << u"停止播放"_s;
        QTest::newRow("Image25") << u"Image25"_s << u"最近播放"_s;
        QTest::newRow("Image26") << u"Image26"_s << u"在线直播"_s;
    }

    void captionFollowsTheHoveredButton() {
        QFETCH(QString, button);
        QFETCH(QString, text);
        MainWindowRun w;
        // The first hover is centred by the new text.
        w.hover(button);
        const Control& b = w.form().control(button);
        const Control& background = w.form().control(u"Image18"_s);
        const Control& label = w.form().control(u"Label1"_s);
        QVERIFY(background.visible());
        QVERIFY(label.visible());
        QCOMPARE(label.caption(), text);
        QCOMPARE(background.top(), b.top() + 500);
        QCOMPARE(background.left(), b.left() - (1500 - 450) / 2.0F);
        QCOMPARE(label.left() + label.width() / 2.0F, background.left() + 750.0F);
        QCOMPARE(label.top() + label.height() / 2.0F, background.top() + 180.0F);
    }

    void oneCaptionAtATimeAndTheBackdropHidesIt() {
        MainWindowRun w;
        const Control& label = w.form().control(u"Label1"_s);
        QCOMPARE(label.caption(), QString());  // no text before any hover
        QVERIFY(label.visible());
        w.hover(u"Image24"_s);
        w.hover(u"Image21"_s);
        QCOMPARE(label.caption(), u"开始播放"_s);
        QCOMPARE(w.form().control(u"Image18"_s).left(),
                 w.form().control(u"Image21"_s).left() - 525.0F);
        w.hover(u"Image1"_s);
        QVERIFY(!label.visible());
        QVERIFY(!w.form().control(u"Image18"_s).visible());
        // A resize moves the buttons, not the caption.
        w.hover(u"Image22"_s);
        const float left = w.form().control(u"Image18"_s).left();
        w.form().window()->resize(1300, 800);
        QTRY_COMPARE(w.value(u"Frameright"_s, &Control::left), w.form().width() - 3855);
        QVERIFY(w.form().width() > 1300 * 15.0F - 1);
        QCOMPARE(w.form().control(u"Image18"_s).left(), left);
    }
};

}  // namespace tivora

QTEST_MAIN(tivora::TestMainWindowLayout)
#include "tst_mainwindowlayout.moc"
