// What a real WebEngine pane says to its user: its right-click menu, a page's boxes, the language
// it asks pages in, and its own error page.
#include "browser/BrowserProfile.h"
#include "browser/EngineLanguage.h"
#include "browser/WebDialogPage.h"
#include "browser/WebEnginePane.h"
#include "support/EventLoopWait.h"
#include "support/TestHttpServer.h"
#include "support/WebEngineTestMain.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDialog>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QWebEngineView>

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

using namespace Qt::StringLiterals;
using tivora::test::TestHttpServer;

namespace tivora {
namespace {

constexpr int kPageBound = 30000;

// Everything at a known place, so a right click can aim at it.
const QString kPlaces =
    u"<html><head><title>位置</title><style>*{margin:0} .at{position:absolute;left:10px;"
    "font-size:30px}</style></head><body>"
    "<a class=\"at\" id=\"link\" style=\"top:10px\" href=\"/target.html\">链接</a>"
    "<input class=\"at\" id=\"field\" style=\"top:80px;width:200px;height:36px\">"
    "<p class=\"at\" id=\"words\" style=\"top:150px\">SELECTED</p>"
    "</body></html>"_s;

// What a box showed, as a user saw it.
struct Seen {
    QString title;
    QString text;
    QStringList buttons;
    bool offersBlock = false;
    qsizetype fieldLength = -1;
};

// Answers the modal boxes that come up while the page waits on them, from inside their own event
// loops: accepts or cancels, ticks the block choice when it is offered and asked to.
class BoxAnswerer final {
public:
    explicit BoxAnswerer(bool accept, bool block = false) : accept_(accept), block_(block) {
        timer_.setInterval(20);
        timer_.callOnTimeout([this] { answer(); });
        timer_.start();
    }

    [[nodiscard]] const QList<Seen>& seen() const { return seen_; }
    [[nodiscard]] qint64 msToFirstBox() const { return firstBoxMs_; }

private:
    void answer() {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr || dialog == last_) {
            return;
        }
        last_ = dialog;
        if (seen_.isEmpty()) {
            firstBoxMs_ = clock_.elapsed();
        }
        Seen seen;
        seen.title = dialog->windowTitle();
        for (const QLabel* label : dialog->findChildren<QLabel*>()) {
            if (label->text().size() > seen.text.size()) {
                seen.text = label->text();
            }
        }
        auto* buttons = dialog->findChild<QDialogButtonBox*>();
        for (const QAbstractButton* button : buttons->buttons()) {
            seen.buttons << button->text();
        }
        seen.buttons.sort();
        auto* block = dialog->findChild<QCheckBox*>();
        seen.offersBlock = block != nullptr;
        if (const auto* field = dialog->findChild<QLineEdit*>()) {
            seen.fieldLength = field->text().size();
        }
        seen_ << seen;
        if (block != nullptr && block_) {
            block->setChecked(true);
        }
        for (QAbstractButton* button : buttons->buttons()) {
            const auto role = buttons->buttonRole(button);
            if (role == (accept_ ? QDialogButtonBox::AcceptRole : QDialogButtonBox::RejectRole)) {
                button->click();
                return;
            }
        }
    }

    bool accept_;
    bool block_;
    QTimer timer_;
    QPointer<QDialog> last_;
    QList<Seen> seen_;
    QElapsedTimer clock_ = [] {
        QElapsedTimer clock;
        clock.start();
        return clock;
    }();
    qint64 firstBoxMs_ = -1;
};

QVariant evaluate(QWebEnginePage* page, const QString& script) {
    QVariant result;
    bool answered = false;
    page->runJavaScript(script, [&](const QVariant& value) {
        result = value;
        answered = true;
    });
    test::waitUntil([&] { return answered; }, kPageBound);
    return result;
}

// The characters after which a line of the element's text ends.
const QString kLineEnds =
    u"(function(){const walker=document.createTreeWalker(document.getElementById('address'),"
    "NodeFilter.SHOW_TEXT);let top=null,last='',ends='';"
    "for(let node=walker.nextNode();node;node=walker.nextNode()){"
    "for(let i=0;i<node.data.length;++i){const range=document.createRange();"
    "range.setStart(node,i);range.setEnd(node,i+1);const rects=range.getClientRects();"
    "if(!rects.length)continue;if(top!==null&&rects[0].top>top+1)ends+=last;"
    "top=rects[0].top;last=node.data[i];}}return ends;})()"_s;

}  // namespace

class TestWebPaneLanguage final : public QObject {
    Q_OBJECT

    TestHttpServer server_;
    QTemporaryDir storage_;
    std::unique_ptr<BrowserProfile> profile_;
    QWidget window_;
    WebEnginePane* pane_ = nullptr;

    // Loads path into the one pane, anew.
    bool load(const QString& path) {
        delete pane_;
        pane_ = new WebEnginePane(profile_->profile(), &window_);
        pane_->widget()->setGeometry(0, 0, 400, 400);
        pane_->widget()->show();
        QSignalSpy completed(pane_, &BrowserPane::documentComplete);
        pane_->navigate(path.startsWith(u'/') ? server_.root() + path : path);
        return test::waitUntil([&] { return !completed.isEmpty(); }, kPageBound);
    }

private Q_SLOTS:
    void initTestCase() {
        server_.page(u"/places.html"_s, kPlaces);
        server_.page(u"/target.html"_s, u"<html><body>TARGET</body></html>"_s);
        server_.page(u"/boxes.html"_s, u"<html><body>BOXES</body></html>"_s);
        server_.signInPage(u"/members.html"_s, u"会员"_s);
        server_.start();
        QVERIFY(storage_.isValid());
        profile_ = std::make_unique<BrowserProfile>(storage_.path());
        window_.resize(400, 400);
        window_.show();
    }

    void cleanupTestCase() {
        delete pane_;
        server_.stop();
    }

    void pagesAreAskedForChinese() {
        QVERIFY(load(u"/target.html"_s));
        QCOMPARE(server_.header(u"/target.html"_s, u"Accept-Language"_s), kAcceptLanguage);
        QCOMPARE(evaluate(pane_->page(), u"navigator.languages.join(',')"_s).toString(),
                 u"zh-CN,zh"_s);
    }

    void rightClickMenuHoldsOnlyWhatKeepsToThePane_data() {
        QTest::addColumn<QPoint>("where");
        QTest::addColumn<QString>("preparation");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QString>("copied");
        QTest::newRow("page") << QPoint(300, 300) << QString()
                              << QStringList{u"后退"_s, u"前进"_s, u"刷新"_s, u"全选"_s}
                              << QString();
        QTest::newRow("link") << QPoint(30, 25) << QString() << QStringList{u"复制链接地址"_s}
                              << u"/target.html"_s;
        QTest::newRow("text field")
            << QPoint(60, 98) << u"document.getElementById('field').value='typed'"_s
            << QStringList{u"复制"_s, u"粘贴"_s, u"全选"_s} << QString();
        QTest::newRow("selection")
            << QPoint(40, 165)
            << u"getSelection().selectAllChildren(document.getElementById('words'))"_s
            << QStringList{u"复制"_s} << u"SELECTED"_s;
    }

    void rightClickMenuHoldsOnlyWhatKeepsToThePane() {
        QFETCH(QPoint, where);
        QFETCH(QString, preparation);
        QFETCH(QStringList, texts);
        QFETCH(QString, copied);
        QVERIFY(load(u"/places.html"_s));
        if (!preparation.isEmpty()) {
            evaluate(pane_->page(), preparation);
        }
        int newWindows = 0;
        connect(pane_, &BrowserPane::newWindow2, this, [&](NewWindowRequest&) { ++newWindows; });
        const QWidgetList windowsBefore = QApplication::topLevelWidgets();
        QApplication::clipboard()->clear();

        QWidget* surface = pane_->view()->focusProxy();
        QVERIFY(surface != nullptr);
        QMenu* menu = nullptr;
        const auto menuShown = [&] {
            menu = pane_->view()->findChild<QMenu*>();
            return menu != nullptr && menu->isVisible();
        };
        // A click that comes before a new view has drawn its first frame is dropped by the
        // engine (seen on a loaded machine): clicked again until the menu shows.
        for (int click = 0; click < 5 && !menuShown(); ++click) {
            QTest::mouseClick(surface, Qt::RightButton, {}, where);
            test::waitUntil(menuShown, 4000);
        }
        QVERIFY(menuShown());
        QStringList shown;
        for (const QAction* action : menu->actions()) {
            if (!action->isSeparator()) {
                shown << action->text();
            }
        }
        QCOMPARE(shown, texts);

        for (QAction* action : menu->actions()) {
            if (!action->isSeparator() && action->isEnabled()) {
                action->trigger();
            }
        }
        menu->close();
        if (!copied.isEmpty()) {
            const QString expected = copied.startsWith(u'/') ? server_.root() + copied : copied;
            QVERIFY(test::waitUntil([&] { return QApplication::clipboard()->text() == expected; },
                                    5000));
        }
        // Whatever was chosen, no window came of it.
        test::waitUntil([] { return false; }, 500);
        QCOMPARE(newWindows, 0);
        for (QWidget* window : QApplication::topLevelWidgets()) {
            QVERIFY(windowsBefore.contains(window) || !window->isVisible());
        }
    }

    void scriptBoxesAreChineseAndAnswerThePage_data() {
        QTest::addColumn<QString>("call");
        QTest::addColumn<bool>("accept");
        QTest::addColumn<QStringList>("buttons");
        QTest::addColumn<QVariant>("answer");
        QTest::newRow("alert") << u"alert('影片已加入收藏') === undefined"_s << true
                               << QStringList{u"确定"_s} << QVariant(true);
        QTest::newRow("confirm accepted") << u"confirm('影片已加入收藏')"_s << true
                                          << QStringList{u"取消"_s, u"确定"_s} << QVariant(true);
        QTest::newRow("confirm cancelled") << u"confirm('影片已加入收藏')"_s << false
                                           << QStringList{u"取消"_s, u"确定"_s} << QVariant(false);
    }

    void scriptBoxesAreChineseAndAnswerThePage() {
        QFETCH(QString, call);
        QFETCH(bool, accept);
        QFETCH(QStringList, buttons);
        QFETCH(QVariant, answer);
        QVERIFY(load(u"/boxes.html"_s));
        const BoxAnswerer answerer(accept);
        QCOMPARE(evaluate(pane_->page(), call), answer);
        QCOMPARE(answerer.seen().size(), 1);
        const Seen& box = answerer.seen().front();
        QCOMPARE(box.title, u"Tivora"_s);
        QCOMPARE(box.text, u"影片已加入收藏"_s);
        QCOMPARE(box.buttons, buttons);
        QVERIFY(!box.offersBlock);
    }

    void boxesInALoopEndWhenTheUserBlocksThem() {
        QVERIFY(load(u"/boxes.html"_s));
        {
            const BoxAnswerer answerer(true, true);
            QCOMPARE(evaluate(pane_->page(),
                              u"for (let i = 0; i < 100; ++i) alert('第' + i + '次'); "
                              "confirm('还要吗？')"_s),
                     QVariant(false));
            QCOMPARE(answerer.seen().size(), WebDialogPage::kBoxOfferingBlock);
            QVERIFY(!answerer.seen().front().offersBlock);
            QVERIFY(answerer.seen().back().offersBlock);
        }

        // The page's next load may ask again.
        QVERIFY(load(u"/boxes.html"_s));
        const BoxAnswerer again(true);
        QCOMPARE(evaluate(pane_->page(), u"confirm('再来一次')"_s), QVariant(true));
        QCOMPARE(again.seen().size(), 1);
    }

    void megabytePromptKeepsItsAnswerWhole() {
        QVERIFY(load(u"/boxes.html"_s));
        const BoxAnswerer answerer(true);
        QElapsedTimer clock;
        clock.start();
        const QVariant length =
            evaluate(pane_->page(), u"prompt('问'.repeat(1 << 20), 'x'.repeat(1 << 20)).length"_s);
        const qint64 roundTrip = clock.elapsed();
        QCOMPARE(length, QVariant(1 << 20));
        QCOMPARE(answerer.seen().size(), 1);
        const Seen& box = answerer.seen().front();
        QCOMPARE(box.title, u"Tivora"_s);
        QCOMPARE(box.fieldLength, 1 << 20);
        QVERIFY(box.text.size() <= WebDialogPage::kShownTextLimit + 1);
        QCOMPARE(box.buttons, (QStringList{u"取消"_s, u"确定"_s}));
        qInfo("1 MB prompt: box up after %lld ms, answered after %lld ms", answerer.msToFirstBox(),
              roundTrip);
    }

    // Every pane asking at once gets one box; turned away, each shows the refusal.
    void signInAskedOnceForManyPanes() {
        QWidget window;
        std::vector<WebEnginePane*> panes;
        std::vector<std::unique_ptr<QSignalSpy>> completed;
        const BoxAnswerer answerer(false);
        for (int i = 0; i < 3; ++i) {
            panes.push_back(new WebEnginePane(profile_->profile(), &window));
            completed.push_back(
                std::make_unique<QSignalSpy>(panes.back(), &BrowserPane::documentComplete));
            panes.back()->navigate(server_.root() + u"/members.html"_s);
        }
        window.show();
        QVERIFY(test::waitUntil([&] {
            return std::all_of(completed.begin(), completed.end(),
                               [](const auto& spy) { return !spy->isEmpty(); });
        }));
        QCOMPARE(answerer.seen().size(), 1);
        const Seen& box = answerer.seen().front();
        QCOMPARE(box.title, u"Tivora"_s);
        QVERIFY(box.text.contains(u"要求登录"_s));
        QCOMPARE(box.buttons, (QStringList{u"取消"_s, u"登录"_s}));
        for (const WebEnginePane* pane : panes) {
            QCOMPARE(pane->locationName(), u"服务器返回错误 401"_s);
        }
    }

    void errorPageBreaksTheAddressOnlyAtItsSeparators_data() {
        QTest::addColumn<QString>("path");
        QTest::newRow("hyphens and query")
            << u"/vrtata-long-film-name-2024/some-folder-name/play.asp?id=1234-0-0&page=2&"
               "title=the-film-with-a-long-name"_s;
        QTest::newRow("spaces and Chinese")
            << u"/影片 目录/天下无贼高清版本电影天下无贼高清版本/x?名=刘德华 刘若英&y=1"_s;
    }

    void errorPageBreaksTheAddressOnlyAtItsSeparators() {
        QFETCH(QString, path);
        const QString address = u"http://127.0.0.1:%1"_s.arg(TestHttpServer::unusedPort()) + path;
        QVERIFY(load(QString::fromLatin1(QUrl(address).toEncoded())));
        QVERIFY(pane_->showsErrorPage());
        pane_->widget()->setGeometry(0, 0, 260, 400);
        QVERIFY(test::waitUntil(
            [&] { return evaluate(pane_->page(), u"innerWidth"_s).toInt() <= 260; }));
        QCOMPARE(
            evaluate(pane_->page(), u"document.getElementById('address').innerText"_s).toString(),
            address);
        const QString ends = evaluate(pane_->page(), kLineEnds).toString();
        QVERIFY2(!ends.isEmpty(), "the address should need more than one line");
        for (const QChar end : ends) {
            QVERIFY2(QStringView(u"/?&").contains(end), qPrintable(ends));
        }
    }
};

}  // namespace tivora

TIVORA_WEBENGINE_TEST_MAIN(tivora::TestWebPaneLanguage)
#include "tst_webpanelanguage.moc"
