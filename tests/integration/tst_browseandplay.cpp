// The main window with real WebEngine panes against the bundled demo portal: film list → film page
// in the content pane → play page in the full-window pane, and search as typed.
#include "app/Forms.h"
#include "app/MainWindow.h"
#include "browser/WebEnginePane.h"
#include "demo-portal/DemoPortal.h"
#include "desktop/DesktopServices.h"
#include "forms/BrowserPane.h"
#include "forms/Control.h"
#include "forms/ControlWidgets.h"
#include "portal/PortalAddresses.h"
#include "support/EventLoopWait.h"
#include "support/WebEngineTestMain.h"

#include <QDeadlineTimer>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QWebEnginePage>

using namespace Qt::StringLiterals;
using tivora::test::waitUntil;

namespace tivora {
namespace {}  // namespace

class TestBrowseAndPlay final : public QObject {
    Q_OBJECT

private:
    MainWindow& main() { return forms_->mainWindow(); }
    WebEnginePane& pane(const QString& name) {
        return *qobject_cast<WebEnginePane*>(&main().browser(name));
    }
    void click(const QString& picture) {
        Q_EMIT qobject_cast<ClickableLabel*>(main().control(picture).widget())
            ->clicked(Qt::LeftButton);
    }
    // Clicks the first element matching selector in a pane's page, as a user's click would.
    void clickIn(const QString& paneName, const QString& selector) {
        pane(paneName).page()->runJavaScript(
            u"document.querySelector('%1').click()"_s.arg(selector));
    }
    bool showsPath(const QString& paneName, const QString& path) {
        return main().browser(paneName).locationURL().startsWith(root_ + path);
    }
    bool pageHolds(const QString& paneName, const QString& text) {
        try {
            return main().browser(paneName).outerHTML().contains(text);
        } catch (const std::exception&) {
            return false;
        }
    }

private Q_SLOTS:
    void initTestCase() {
        demo::PortalOptions options;
        options.database = ":memory:";
        portal_ = std::make_unique<demo::DemoPortal>(options);
        std::string error;
        QVERIFY2(portal_->start(&error), error.c_str());
        root_ = QString::fromStdString(portal_->root());
        services_ =
            std::make_unique<DesktopServices>(storage_.path(), QStringLiteral(TIVORA_BIN_DIR));
        forms_ = std::make_unique<Forms>(*services_, AppConfig{.portalRoot = root_});
        main().show();
        QVERIFY(waitUntil([&] { return pageHolds(u"WebBrowser1"_s, u"vrtata"_s); }));
    }

    void cleanupTestCase() {
        forms_.reset();
        services_.reset();
        portal_->stop();
    }

    void filmLinkOpensTheFilmPageInTheContentPane() {
        QVERIFY(!main().control(u"Framenr"_s).visible());
        clickIn(u"WebBrowser1"_s, u"a[target=_blank][href*=vrtata]"_s);
        QVERIFY(waitUntil([&] { return showsPath(u"WebBrowser3"_s, u"/vrtata.asp"_s); }));
        QVERIFY(main().control(u"Framenr"_s).visible());
        QVERIFY(main().control(u"Image21"_s).visible());
        QVERIFY(showsPath(u"WebBrowser1"_s, u"/ty_00.html"_s));  // the list stays
        QVERIFY(waitUntil([&] {
            return !main().browser(u"WebBrowser3"_s).locationName().startsWith(u"http"_s);
        }));
    }

    void relatedFilmOpensInTheContentPaneItself() {
        QVERIFY(waitUntil([&] { return pageHolds(u"WebBrowser3"_s, u"from=related"_s); }));
        clickIn(u"WebBrowser3"_s, u"a[href*=related]"_s);
        QVERIFY(waitUntil([&] {
            return main().browser(u"WebBrowser3"_s).locationURL().contains(u"from=related"_s);
        }));
        QVERIFY(!main().control(u"Frameleft"_s).visible());  // no full-window play pane
        QCOMPARE(main().browser(u"WebBrowser2"_s).locationURL(), u"about:blank"_s);
    }

    void playPictureLoadsThePlayPageFullWindow() {
        const auto id =
            main().browser(u"WebBrowser3"_s).locationURL().section(u'=', 1).section(u'&', 0, 0);
        click(u"Image21"_s);
        QVERIFY(main().control(u"Frameleft"_s).visible());
        QVERIFY(main().control(u"Picture3"_s).visible());
        QVERIFY(waitUntil([&] { return pageHolds(u"WebBrowser2"_s, u"<video"_s); }));
        QCOMPARE(main().browser(u"WebBrowser2"_s).locationURL(),
                 root_ + u"/play/?"_s + id + u"-0-0.html"_s);
        click(u"Image16"_s);  // stop from the control bar
        QVERIFY(!main().control(u"Frameleft"_s).visible());
        QVERIFY(waitUntil(
            [&] { return main().browser(u"WebBrowser2"_s).locationURL() == u"about:blank"_s; }));
    }

    void playLinkInTheContentPaneOpensFullWindow() {
        clickIn(u"WebBrowser3"_s, u"a.play"_s);
        QVERIFY(waitUntil([&] { return showsPath(u"WebBrowser2"_s, u"/play/"_s); }));
        QVERIFY(main().control(u"Frameleft"_s).visible());
        click(u"Image17"_s);  // back to the hall keeps the page
        QVERIFY(showsPath(u"WebBrowser2"_s, u"/play/"_s));
        click(u"Image23"_s);
        QVERIFY(main().control(u"Frameleft"_s).visible());
        click(u"Image16"_s);
    }

    // A keyword sent the way a GBK portal takes it: the demo portal reads it all the same.
    void gbkKeywordFindsItsFilm() {
        QSignalSpy completed(&main().browser(u"WebBrowser1"_s), &BrowserPane::documentComplete);
        main()
            .browser(u"WebBrowser1"_s)
            .navigate(portal::searchAddress(root_, u"江南"_s, portal::QueryEncoding::Gbk));
        QVERIFY(waitUntil([&] { return !completed.isEmpty(); }));
        QVERIFY(main().browser(u"WebBrowser1"_s).locationURL().endsWith(u"%BD%AD%C4%CF"_s));
        QVERIFY(pageHolds(u"WebBrowser1"_s, u"江南烟雨"_s));
    }

    void keywordsReachTheSearchAsTyped_data() {
        QTest::addColumn<QString>("keyword");
        QTest::addColumn<QString>("shown");  // as the results page echoes it, escaped
        QTest::addColumn<QString>("finds");
        QTest::newRow("chinese title") << u"星港"_s << u"星港"_s << u"星港迷踪"_s;
        QTest::newRow("latin actor, any case") << u"lily chen"_s << u"lily chen"_s << u"星港迷踪"_s;
        QTest::newRow("ampersand and equals") << u"a&b=c"_s << u"a&amp;b=c"_s << QString();
        QTest::newRow("markup") << u"<i>x"_s << u"&lt;i&gt;x"_s << QString();
    }

    void keywordsReachTheSearchAsTyped() {
        QFETCH(QString, keyword);
        QFETCH(QString, shown);
        QFETCH(QString, finds);
        main().control(u"Text1"_s).setCaption(keyword);
        // The film list already names these films: wait for the search page itself.
        QSignalSpy completed(&main().browser(u"WebBrowser1"_s), &BrowserPane::documentComplete);
        click(u"Image11"_s);
        QVERIFY(main().control(u"Image9"_s).visible());
        QVERIFY(waitUntil([&] {
            return !completed.isEmpty() &&
                   completed.back().front().toString().startsWith(root_ + u"/search2010.asp"_s);
        }));
        QVERIFY(pageHolds(u"WebBrowser1"_s, shown));
        if (!finds.isEmpty()) {
            QVERIFY(pageHolds(u"WebBrowser1"_s, finds));
        }
    }

private:
    std::unique_ptr<demo::DemoPortal> portal_;
    QString root_;
    QTemporaryDir storage_;
    std::unique_ptr<DesktopServices> services_;
    std::unique_ptr<Forms> forms_;
};

}  // namespace tivora

TIVORA_WEBENGINE_TEST_MAIN(tivora::TestBrowseAndPlay)
#include "tst_browseandplay.moc"
