// The navigation book driven through event orders a browser engine produces.
#include "browser/NavigationBook.h"

#include <QStringList>
#include <QTest>

#include <deque>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace tivora {
namespace {

using Answer = NavigationBook::Answer;
using End = NavigationBook::LoadEnd;

const QString kSite = u"http://portal.test/"_s;

// Loads are named; "own" is our own page, loaded from data:.
QUrl urlOf(const QString& name) {
    if (name == u"own"_s) {
        return QUrl(u"data:text/html;charset=UTF-8,own"_s);
    }
    return QUrl(name.isEmpty() ? QString() : kSite + name);
}

QString nameOf(const QString& address) {
    return address.startsWith(kSite) ? address.mid(kSite.size()) : address;
}

// Plays a script of events separated by ';' on a book, as the pane would, and writes down what
// the book answers. Each answer that asks the pane to wait is queued, and played back by its
// own event: "read" delivers the oldest document read, "settled [page]" the oldest aborted load
// (with the page the view shows), "answer N" the blank answer of navigation N, "crashdue" the
// last crash's answer.
class Player {
public:
    QStringList play(const QString& script) {
        QStringList said;
        for (const QString& event : script.split(u';')) {
            if (event.trimmed().isEmpty()) {
                continue;
            }
            const QStringList words = event.simplified().split(u' ');
            const QString& verb = words.first();
            const QString arg = words.value(1);
            const QString said1 = step(verb, arg, words.value(2));
            if (!said1.isEmpty()) {
                said << said1;
            }
        }
        return said;
    }

    NavigationBook book;

private:
    QString step(const QString& verb, const QString& arg, const QString& arg2) {
        if (verb == u"nav"_s) {
            book.navigate();
        } else if (verb == u"blank"_s) {
            book.navigateToBlank();
        } else if (verb == u"view"_s) {
            book.viewMade();
        } else if (verb == u"start"_s) {
            book.loadStarted(urlOf(arg));
        } else if (verb == u"ok"_s) {
            return ended(book.loadEnded(urlOf(arg), End::Succeeded));
        } else if (verb == u"fail"_s) {
            return ended(book.loadEnded(urlOf(arg), End::Failed));
        } else if (verb == u"abort"_s) {
            return ended(book.loadEnded(urlOf(arg), End::Aborted));
        } else if (verb == u"stop"_s) {
            return ended(book.loadEnded(urlOf(arg), End::Stopped));
        } else if (verb == u"read"_s) {
            const Answer read = reads_.front();
            reads_.pop_front();
            return book.documentRead(read.serial, read.navigation)
                       ? u"complete %1"_s.arg(read.navigation)
                       : u"stale"_s;
        } else if (verb == u"settled"_s) {
            const NavigationBook::Load load = settles_.front();
            settles_.pop_front();
            if (!book.abortSettled(load, urlOf(arg))) {
                return u"settled"_s;
            }
            book.ownPageRequested(load.navigation, load.url.toString());
            return u"notapage %1"_s.arg(load.navigation);
        } else if (verb == u"answer"_s) {
            const quint64 navigation = arg.toULongLong();
            return book.blankAnswered(navigation) ? u"complete %1"_s.arg(navigation)
                                                  : u"overtaken"_s;
        } else if (verb == u"refresh"_s) {
            return refreshed(book.refresh());
        } else if (verb == u"crash"_s) {
            crash_ = book.renderProcessDied(
                NavigationBook::Clock::time_point{} + std::chrono::seconds(arg.toInt()),
                kSite + arg2);
            const bool givenUp = crash_.kind == NavigationBook::CrashAnswer::Kind::GiveUp;
            return u"%1 %2 %3"_s.arg(givenUp ? u"giveup"_s : u"reload"_s)
                .arg(crash_.navigation)
                .arg(nameOf(crash_.address));
        } else if (verb == u"crashdue"_s) {
            if (!book.crashAnswerStands(crash_.navigation)) {
                return u"void"_s;
            }
            if (crash_.kind == NavigationBook::CrashAnswer::Kind::GiveUp) {
                book.ownPageRequested(crash_.navigation, crash_.address);
            }
            return u"stands"_s;
        } else {
            qFatal("unknown event %s", qPrintable(verb));
        }
        return {};
    }

    QString ended(const Answer& answer) {
        switch (answer.kind) {
            case Answer::Kind::None:
                return {};
            case Answer::Kind::ReadDocument:
                reads_.push_back(answer);
                return u"read %1"_s.arg(answer.navigation);
            case Answer::Kind::ShowErrorPage:
                book.ownPageRequested(answer.navigation, answer.load.url.toString());
                return u"error %1"_s.arg(answer.navigation);
            case Answer::Kind::OwnPageComplete:
                return u"own %1"_s.arg(answer.navigation);
            case Answer::Kind::SettleAbort:
                settles_.push_back(answer.load);
                return u"settle %1"_s.arg(answer.navigation);
        }
        return {};
    }

    static QString refreshed(const NavigationBook::Refresh& refresh) {
        using Kind = NavigationBook::Refresh::Kind;
        switch (refresh.kind) {
            case Kind::None:
                return u"refresh none"_s;
            case Kind::AnswerBlank:
                return u"refresh blank %1"_s.arg(refresh.navigation);
            case Kind::Reload:
                return u"refresh reload"_s;
            case Kind::LoadAddress:
                return u"refresh load "_s + nameOf(refresh.address);
        }
        return {};
    }

    std::deque<Answer> reads_;
    std::deque<NavigationBook::Load> settles_;
    NavigationBook::CrashAnswer crash_;
};

}  // namespace

class TestNavigationBook final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void eventOrders_data() {
        QTest::addColumn<QString>("events");
        QTest::addColumn<QString>("answers");
        QTest::addColumn<quint64>("completed");
        QTest::addColumn<bool>("errorPage");

        const QString page = u"nav; view; start a; ok a; read; "_s;
        const QString failed = u"nav; view; start a; fail a; start own; ok own; "_s;

        // Overtaken navigations.
        QTest::newRow("load answers its navigation")
            << page << u"read 1; complete 1"_s << quint64{1} << false;
        QTest::newRow("overtaken load is no failure")
            << u"nav; view; start a; nav; start b; abort a; ok b; read; settled b"_s
            << u"settle 1; read 2; complete 2; settled"_s << quint64{2} << false;
        QTest::newRow("later load read first makes the earlier read stale")
            << u"nav; view; start a; ok a; nav; start b; ok b; read; read"_s
            << u"read 1; read 2; stale; complete 2"_s << quint64{2} << false;
        QTest::newRow("load started by the page answers the same navigation")
            << u"nav; view; start a; ok a; start b; read; ok b; read"_s
            << u"read 1; complete 1; read 1; complete 1"_s << quint64{1} << false;
        QTest::newRow("end under another address finishes the oldest load")
            << u"nav; view; start a; nav; start b; ok c; read"_s << u"read 1; complete 1"_s
            << quint64{1} << false;
        QTest::newRow("end with no load started answers the latest navigation")
            << u"nav; view; nav; ok a; read"_s << u"read 2; complete 2"_s << quint64{2} << false;

        // Blank answers.
        QTest::newRow("blank page answered")
            << u"blank; answer 1"_s << u"complete 1"_s << quint64{1} << false;
        QTest::newRow("only the latest blank navigation is answered")
            << u"blank; blank; answer 1; answer 2"_s << u"overtaken; complete 2"_s << quint64{2}
            << false;
        QTest::newRow("a view made overtakes the blank answer")
            << u"blank; view; answer 1"_s << u"overtaken"_s << quint64{0} << false;
        QTest::newRow("refresh of the blank page answers it again")
            << u"blank; answer 1; refresh; answer 2"_s
            << u"complete 1; refresh blank 2; complete 2"_s << quint64{2} << false;
        QTest::newRow("refresh of a fresh pane does nothing")
            << u"refresh"_s << u"refresh none"_s << quint64{0} << false;
        QTest::newRow("refresh of a page reloads it")
            << page + u"refresh"_s << u"read 1; complete 1; refresh reload"_s << quint64{1}
            << false;

        // Failed loads and our own pages.
        QTest::newRow("failed load completes as our own page")
            << failed << u"error 1; own 1"_s << quint64{1} << true;
        QTest::newRow("error page no longer shown once a load starts")
            << failed + u"nav; start b"_s << u"error 1; own 1"_s << quint64{1} << false;
        QTest::newRow("refresh of an error page loads what it stands for")
            << failed + u"refresh"_s << u"error 1; own 1; refresh load a"_s << quint64{1} << true;
        QTest::newRow("own page stopped completes nothing")
            << u"nav; view; start a; fail a; start own; stop own"_s << u"error 1"_s << quint64{0}
            << false;

        // Downloads that end a load, and aborted loads.
        QTest::newRow("download ending a load completes as our own page")
            << u"nav; view; start a; stop a; settled; start own; ok own"_s
            << u"settle 1; notapage 1; own 1"_s << quint64{1} << true;
        QTest::newRow("aborted after its page came stays")
            << u"nav; view; start a; abort a; settled a"_s << u"settle 1; settled"_s << quint64{0}
            << false;
        QTest::newRow("aborted and overtaken before settling")
            << u"nav; view; start a; abort a; nav; start b; settled"_s << u"settle 1; settled"_s
            << quint64{0} << false;
        QTest::newRow("aborted while our own page loads")
            << u"nav; view; start a; abort a; start own; settled"_s << u"settle 1; settled"_s
            << quint64{0} << false;
        QTest::newRow("aborted after the view went")
            << u"nav; view; start a; abort a; blank; settled"_s << u"settle 1; settled"_s
            << quint64{0} << false;
        QTest::newRow("end of a load never started is ignored")
            << u"nav; view; stop a; abort b"_s << QString() << quint64{0} << false;

        // Crashes.
        QTest::newRow("first crash reloads")
            << page + u"crash 0 a; crashdue"_s << u"read 1; complete 1; reload 1 a; stands"_s
            << quint64{1} << false;
        QTest::newRow("second crash within the window gives up")
            << page +
                   u"crash 0 a; crashdue; start a; ok a; read; crash 10 a; crashdue; "
                   "start own; ok own"_s
            << u"read 1; complete 1; reload 1 a; stands; read 1; complete 1; giveup 1 a; "
               "stands; own 1"_s
            << quint64{1} << true;
        QTest::newRow("second crash after the window reloads again")
            << page + u"crash 0 a; crash 11 a"_s << u"read 1; complete 1; reload 1 a; reload 1 a"_s
            << quint64{1} << false;
        QTest::newRow("third crash after giving up reloads")
            << page + u"crash 0 a; crash 1 a; crash 2 a"_s
            << u"read 1; complete 1; reload 1 a; giveup 1 a; reload 1 a"_s << quint64{1} << false;
        QTest::newRow("navigation made meanwhile voids the crash answer")
            << u"nav; view; start a; crash 0 a; nav; crashdue"_s << u"reload 1 a; void"_s
            << quint64{0} << false;
        QTest::newRow("crash on our own page reloads what it stands for")
            << failed + u"crash 0 x"_s << u"error 1; own 1; reload 1 a"_s << quint64{1} << true;
        QTest::newRow("blank page forgets the last crash")
            << u"nav; view; crash 0 a; blank; nav; view; crash 1 b"_s << u"reload 1 a; reload 3 b"_s
            << quint64{0} << false;
    }

    void eventOrders() {
        QFETCH(QString, events);
        QFETCH(QString, answers);
        QFETCH(quint64, completed);
        QFETCH(bool, errorPage);

        Player player;
        QCOMPARE(player.play(events).join(u"; "_s), answers);
        QCOMPARE(player.book.completedNavigation(), completed);
        QCOMPARE(player.book.hasDocument(), completed != 0);
        QCOMPARE(player.book.showsErrorPage(), errorPage);
    }

    void loadsNeverEndedAreForgotten() {
        NavigationBook book;
        book.navigate();
        book.viewMade();
        for (std::size_t i = 0; i < NavigationBook::kMaxLoads + 4; ++i) {
            book.loadStarted(urlOf(u"a%1"_s.arg(i)));
        }
        QCOMPARE(book.pendingLoads(), NavigationBook::kMaxLoads);
        // The oldest are gone: their end is one nobody waits for.
        QCOMPARE(book.loadEnded(urlOf(u"a0"_s), End::Aborted).kind, Answer::Kind::None);
    }
};

}  // namespace tivora

QTEST_GUILESS_MAIN(tivora::TestNavigationBook)
#include "tst_navigationbook.moc"
