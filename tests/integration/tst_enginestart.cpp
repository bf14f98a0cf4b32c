// The web engine starts after the window's first paint: panes hold their loads until then and
// show a placeholder until their page arrives; the first pane's page goes before the others.
#include "browser/BrowserProfile.h"
#include "browser/EngineStart.h"
#include "browser/PanePlaceholder.h"
#include "browser/WebEnginePane.h"
#include "support/EventLoopWait.h"
#include "support/TestHttpServer.h"
#include "support/WebEngineTestMain.h"

#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <QWidget>

using namespace Qt::StringLiterals;
using tivora::test::TestHttpServer;
using tivora::test::waitUntil;

namespace tivora {

class TestEngineStart final : public QObject {
    Q_OBJECT

    TestHttpServer server_;
    QTemporaryDir storage_;

    struct Run {
        explicit Run(const QString& storage)
            : engine([storage] { return std::make_unique<BrowserProfile>(storage); }) {
            new QVBoxLayout(&window);
        }
        ~Run() = default;
        Q_DISABLE_COPY_MOVE(Run)

        WebEnginePane* addPane() {
            auto* pane = new WebEnginePane(engine, &window);
            window.layout()->addWidget(pane->widget());
            return pane;
        }
        static PanePlaceholder* placeholder(const WebEnginePane* pane) {
            return pane->widget()->findChild<PanePlaceholder*>();
        }

        EngineStart engine;
        QWidget window;  // goes first, with the panes and their views, before the profile
        WebEnginePane* first = nullptr;
        WebEnginePane* second = nullptr;
    };

private Q_SLOTS:
    void initTestCase() {
        server_.page(u"/list.html"_s, u"<html><body>LIST</body></html>"_s);
        server_.page(u"/check.html"_s, u"<html><body>CHECK</body></html>"_s);
        server_.start();
        QVERIFY(storage_.isValid());
    }

    void loadsWaitForTheFirstPaintAndTheFirstPaneGoesFirst() {
        Run run(storage_.path());
        run.second = run.addPane();
        run.first = run.addPane();
        QSignalSpy firstDone(run.first, &BrowserPane::documentComplete);
        QSignalSpy secondDone(run.second, &BrowserPane::documentComplete);
        const qsizetype before = server_.requests().size();
        // Held in the order a window's load would make them: the second pane's first.
        run.second->navigate(server_.root() + u"/check.html"_s);
        run.first->navigate(server_.root() + u"/list.html"_s);
        run.engine.putFirst(run.first);
        run.engine.startAfterFirstPaint(&run.window);
        QVERIFY(!run.engine.started());
        QCOMPARE(run.first->view(), nullptr);
        QVERIFY(Run::placeholder(run.first)->isVisibleTo(run.first->widget()));
        QVERIFY(Run::placeholder(run.first)->waiting());

        run.window.resize(400, 300);
        run.window.show();
        QVERIFY(waitUntil([&] { return firstDone.size() == 1 && secondDone.size() == 1; }));
        QVERIFY(run.engine.started());
        const QStringList requests = server_.requests().mid(before);
        QCOMPARE(requests.filter(u".html"_s), QStringList({u"/list.html"_s, u"/check.html"_s}));
        QVERIFY(run.first->outerHTML().contains(u"LIST"_s));
        // The page is there: the placeholder is gone.
        QVERIFY(Run::placeholder(run.first)->isHidden());
        QVERIFY(Run::placeholder(run.second)->isHidden());

        // The blank page needs no view: the placeholder is back, quiet.
        run.first->navigate(u"about:blank"_s);
        QVERIFY(waitUntil([&] { return firstDone.size() == 2; }));
        QVERIFY(!Run::placeholder(run.first)->isHidden());
        QVERIFY(!Run::placeholder(run.first)->waiting());
    }

    void aLaterNavigationReplacesAHeldOneAndTheEngineStartsWithoutAPaint() {
        Run run(storage_.path());
        run.first = run.addPane();
        QSignalSpy done(run.first, &BrowserPane::documentComplete);
        const qsizetype before = server_.requests().size();
        run.first->navigate(server_.root() + u"/check.html"_s);
        run.first->navigate(server_.root() + u"/list.html"_s);
        // Nothing asks for the start: it comes by itself, soon.
        QVERIFY(waitUntil([&] { return done.size() == 1; },
                          static_cast<int>(EngineStart::kLatestStart.count()) + 30000));
        QCOMPARE(server_.requests().mid(before).filter(u".html"_s), QStringList{u"/list.html"_s});
        QCOMPARE(run.first->completedNavigation(), run.first->lastNavigation());
    }
};

}  // namespace tivora

TIVORA_WEBENGINE_TEST_MAIN(tivora::TestEngineStart)
#include "tst_enginestart.moc"
