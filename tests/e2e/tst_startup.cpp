// Start-up and exit of the real program pieces in a real X display, against a portal on loopback.
#include "app/Forms.h"
#include "browser/WebEnginePane.h"
#include "desktop/DesktopServices.h"
#include "forms/BrowserPane.h"
#include "forms/Control.h"
#include "forms/Form.h"
#include "support/EventLoopWait.h"
#include "support/TestHttpServer.h"
#include "support/WebEngineTestMain.h"

#include <QAbstractButton>
#include <QDeadlineTimer>
#include <QMessageBox>
#include <QStandardPaths>
#include <QTimer>
#include <QWebEnginePage>

#include <csignal>
#include <memory>

using namespace Qt::StringLiterals;
using tivora::test::TestHttpServer;
using tivora::test::waitUntil;

namespace tivora {
namespace {

// Records the order in which the program's top-level windows are first shown.
class ShowRecorder final : public QObject {
public:
    QStringList shown;
    bool eventFilter(QObject* watched, QEvent* event) override {
        // Only then: WebEngine's own objects (built without type information) pass by too.
        if (event->type() != QEvent::Show) {
            return false;
        }
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget != nullptr && widget->isWindow() && widget->objectName() == u"TivoraForm"_s &&
            !shown.contains(widget->windowTitle())) {
            shown << widget->windowTitle();
        }
        return false;
    }
};

// Answers the next message box with the button whose text starts with answer; records its text.
void answerNextMessageBox(const QString& answer, QString* text, QString* title) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, timer, [timer, answer, text, title] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            return;
        }
        *text = box->text();
        *title = box->windowTitle();
        for (QAbstractButton* button : box->buttons()) {
            if (button->text().startsWith(answer)) {
                button->click();
            }
        }
        timer->deleteLater();
    });
    timer->start(50);
}

}  // namespace

class TestStartup final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() {
        server_.page(u"/ty_00.html"_s,
                     u"<html><head><title>电影列表</title></head><body>FILM-LIST</body></html>"_s);
        server_.page(u"/vrtj.html"_s, u"<html><body>公告</body></html>"_s);
        server_.page(u"/vrpcs.asp"_s, u"<html><body>qor v10</body></html>"_s);
        server_.start();
        qApp->installEventFilter(&recorder_);
        services_ =
            std::make_unique<DesktopServices>(storage_.path(), QStringLiteral(TIVORA_BIN_DIR));
        forms_ = std::make_unique<Forms>(*services_, AppConfig{.portalRoot = server_.root()});
        forms_->form(FormId::Main).show();
    }

    void cleanupTestCase() {
        forms_.reset();
        services_.reset();
        server_.stop();
    }

    // The film list's renderer killed just after the program's start: the list comes back, live in
    // a renderer of its own again.
    void filmListSurvivesItsRendererDyingAtStart() {
        auto& list =
            static_cast<WebEnginePane&>(forms_->form(FormId::Main).browser(u"WebBrowser1"_s));
        // As soon as the list is first in: a renderer killed before that is replaced by Chromium
        // itself for the navigation still under way.
        QVERIFY(
            waitUntil([&] { return list.lastLoadSucceeded() && list.completedNavigation() > 0; }));
        QVERIFY(list.page()->renderProcessPid() > 0);
        const qint64 killed = list.page()->renderProcessPid();
        QVERIFY(::kill(static_cast<pid_t>(killed), SIGKILL) == 0);
        QVERIFY(waitUntil([&] {
            const qint64 now = list.page()->renderProcessPid();
            return now > 0 && now != killed;
        }));
        // Answers may come after this test: they land in a title of their own.
        const auto title = std::make_shared<QString>();
        QVERIFY(waitUntil([&] {
            list.page()->runJavaScript(
                u"document.title"_s, [title](const QVariant& value) { *title = value.toString(); });
            return *title == u"电影列表"_s;
        }));
        QVERIFY(waitUntil([&] { return list.lastLoadSucceeded(); }));
    }

    void serverWindowComesFirstThenMainWindowOnTheFilmList() {
        QCOMPARE(recorder_.shown, (QStringList{u"服务器连接"_s, u"Tivora"_s}));
        Form& main = forms_->form(FormId::Main);
        QVERIFY(waitUntil([&] {
            const QStringList requests = server_.requests();
            return requests.contains(u"/ty_00.html"_s) && requests.contains(u"/vrpcs.asp"_s) &&
                   requests.contains(u"/vrtj.html"_s);
        }));
        QVERIFY(waitUntil(
            [&] { return main.browser(u"WebBrowser1"_s).locationName() == u"电影列表"_s; }));
        QCOMPARE(main.browser(u"WebBrowser1"_s).locationURL(), server_.root() + u"/ty_00.html"_s);
        for (const char* hidden : {"Framenr", "Frameleft", "Picture3", "Image21", "Image18"}) {
            QVERIFY2(!main.control(QString::fromLatin1(hidden)).widget()->isVisible(), hidden);
        }
        for (const char* shown : {"Frameright", "Image12", "Image20", "Image27", "Image28", "Text1",
                                  "Image4", "Image6", "Image8"}) {
            QVERIFY2(main.control(QString::fromLatin1(shown)).widget()->isVisible(), shown);
        }
        // The check page says this client is current: the server window closed by itself.
        QVERIFY(waitUntil([&] { return !forms_->form(FormId::ServerConnection).isLoaded(); }));
        const QString shot = QStringLiteral(TIVORA_BIN_DIR) + u"/../tests/e2e-main-window.png"_s;
        QVERIFY(main.window()->grab().save(shot));
    }

    void closingAndAnsweringNoKeepsEverything() {
        Form& main = forms_->form(FormId::Main);
        const QString before = main.browser(u"WebBrowser1"_s).locationURL();
        QString text;
        QString title;
        answerNextMessageBox(u"否"_s, &text, &title);
        main.window()->close();
        QCOMPARE(text, u"确定退出Tivora"_s);
        QCOMPARE(title, u"提示"_s);
        QVERIFY(main.isVisible());
        QCOMPARE(main.browser(u"WebBrowser1"_s).locationURL(), before);
        QCOMPARE(main.browser(u"WebBrowser2"_s).locationURL(), u"about:blank"_s);
    }

    void answeringYesEndsTheRunWithStatusZero() {
        forms_->form(FormId::About).show();  // a side window open: the end does not wait for it
        QString text;
        QString title;
        answerNextMessageBox(u"是"_s, &text, &title);
        QTimer::singleShot(0, [this] { forms_->form(FormId::Main).window()->close(); });
        QCOMPARE(QApplication::exec(), 0);
        QCOMPARE(text, u"确定退出Tivora"_s);
    }

private:
    TestHttpServer server_;
    QTemporaryDir storage_;
    ShowRecorder recorder_;
    std::unique_ptr<DesktopServices> services_;
    std::unique_ptr<Forms> forms_;
};

}  // namespace tivora

TIVORA_WEBENGINE_TEST_MAIN(tivora::TestStartup)
#include "tst_startup.moc"
