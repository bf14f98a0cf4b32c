// The soak for bench/soak.sh: Tivora's real windows and services, its own player for the portal's
// films included, against the demo portal in this process, driven the way a user goes round: open a
// film from the list, play it, stop, back to the hall. Prints the total PSS and the number of
// processes of this process's tree after the first cycle and after the last, and the growth.
//
//   tivora-bench-soak [CYCLES]
#include "app/AppConfig.h"
#include "app/Application.h"
#include "app/Forms.h"
#include "app/PortalFilms.h"
#include "browser/EngineStart.h"
#include "browser/WebEnginePane.h"
#include "demo-portal/DemoPortal.h"
#include "desktop/DesktopServices.h"
#include "forms/BrowserPane.h"
#include "forms/Control.h"
#include "forms/ControlWidgets.h"
#include "forms/Form.h"
#include "portal/MainWindowControls.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTimer>
#include <QUrl>
#include <QWebEnginePage>

#include <malloc.h>

#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <vector>

using namespace Qt::StringLiterals;
using namespace tivora;

namespace {

struct Tree {
    double pssMiB = 0;
    int processes = 0;
    double mainMiB = 0;    // this process alone
    double mallocMiB = 0;  // of which handed out by malloc and not freed
    QString each;          // every process's PSS, in MiB
};

// This process and its descendants (WebEngine's processes), from /proc, just after the program's
// own housekeeping has run: in between, this process also holds what it freed since the last.
Tree measureTree() {
    DesktopServices::returnFreedMemory();
    std::map<int, std::vector<int>> children;
    for (const QString& entry : QDir(u"/proc"_s).entryList(QDir::Dirs)) {
        bool number = false;
        const int pid = entry.toInt(&number);
        QFile stat(u"/proc/%1/stat"_s.arg(entry));
        if (!number || !stat.open(QIODevice::ReadOnly)) {
            continue;
        }
        const QByteArray text = stat.readAll();
        const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 1) {
            children[fields.at(1).toInt()].push_back(pid);
        }
    }
    Tree tree;
    const struct mallinfo2 heap = mallinfo2();
    tree.mallocMiB = static_cast<double>(heap.uordblks + heap.hblkhd) / (1024.0 * 1024.0);
    std::vector<int> todo{static_cast<int>(QCoreApplication::applicationPid())};
    while (!todo.empty()) {
        const int pid = todo.back();
        todo.pop_back();
        ++tree.processes;
        QFile rollup(u"/proc/%1/smaps_rollup"_s.arg(pid));
        if (rollup.open(QIODevice::ReadOnly)) {
            for (const QByteArray& line : rollup.readAll().split('\n')) {
                if (line.startsWith("Pss:")) {
                    const double mib = line.mid(4).trimmed().split(' ').front().toDouble() / 1024.0;
                    tree.pssMiB += mib;
                    tree.each += u" %1"_s.arg(mib, 0, 'f', 0);
                    if (tree.processes == 1) {
                        tree.mainMiB = mib;
                    }
                }
            }
        }
        const auto found = children.find(pid);
        if (found != children.end()) {
            todo.insert(todo.end(), found->second.begin(), found->second.end());
        }
    }
    return tree;
}

void click(Form& window, QStringView name) {
    if (auto* label = qobject_cast<ClickableLabel*>(window.control(name).widget())) {
        Q_EMIT label->clicked(Qt::LeftButton);
    }
}

// Runs the cycle's steps one after another; each step starts something and names the pane whose
// next DocumentComplete ends it.
class Soak final : public QObject {
public:
    Soak(Forms& forms, int cycles) : forms_(forms), cycles_(cycles) {
        Form& main = forms_.form(FormId::Main);
        for (QStringView name :
             {main_window::kListPane, main_window::kContentPane, main_window::kPlayPane}) {
            connect(&main.browser(name), &BrowserPane::documentComplete, this,
                    [this, name = name.toString()] { completed(name); });
        }
        watchdog_.setSingleShot(true);
        watchdog_.setInterval(30000);
        connect(&watchdog_, &QTimer::timeout, this, [this] {
            std::fprintf(stderr, "soak: cycle %d, step %zu did not complete\n", cycle_, step_);
            QCoreApplication::exit(1);
        });
    }

    // Begins once the first film list is in.
    void begin() { awaiting_ = main_window::kListPane.toString(); }

private:
    struct Step {
        QString pane;
        std::function<void()> start;
        int settleMs = 0;  // after the completion, before the next step
    };

    WebEnginePane& pane(QStringView name) {
        return static_cast<WebEnginePane&>(forms_.form(FormId::Main).browser(name));
    }

    std::vector<Step> steps() {
        Form& main = forms_.form(FormId::Main);
        return {
            {main_window::kContentPane.toString(),
             [this] {
                 pane(main_window::kListPane)
                     .page()
                     ->runJavaScript(
                         u"document.querySelectorAll('a.film')[%1 % "
                         "document.querySelectorAll('a.film').length].click()"_s.arg(cycle_));
             }},
            {main_window::kPlayPane.toString(), [&main] { click(main, main_window::kPlayButton); },
             1500},
            {main_window::kPlayPane.toString(),
             [&main] { click(main, main_window::kBarStopButton); }},
            {main_window::kListPane.toString(),
             [&main] { click(main, main_window::kFilmListTab); }},
        };
    }

    void completed(const QString& name) {
        if (name != awaiting_) {
            return;
        }
        awaiting_.clear();
        watchdog_.stop();
        const int settle = step_ == 0 ? 0 : steps_.at(step_ - 1).settleMs;
        QTimer::singleShot(settle, this, [this] { next(); });
    }

    void next() {
        if (steps_.empty()) {
            steps_ = steps();
        }
        if (step_ == steps_.size()) {
            step_ = 0;
            ++cycle_;
            if (cycle_ == 1) {
                first_ = measureTree();
                std::printf(
                    "after cycle 1: %.1f MiB PSS (%.1f in Tivora's own process, %.1f of it "
                    "malloc in use), %d processes\n",
                    first_.pssMiB, first_.mainMiB, first_.mallocMiB, first_.processes);
            } else if (cycle_ % reportEvery() == 0) {
                const Tree now = measureTree();
                std::printf(
                    "after cycle %d: %.1f MiB PSS (%.1f in Tivora's own process, %.1f of "
                    "it malloc in use), %d processes (%s), %.1f s\n",
                    cycle_, now.pssMiB, now.mainMiB, now.mallocMiB, now.processes,
                    qPrintable(now.each), elapsed_.elapsed() / 1000.0);
            }
            std::fflush(stdout);
            if (cycle_ == cycles_) {
                finish();
                return;
            }
        }
        const Step& step = steps_.at(step_++);
        awaiting_ = step.pane;
        watchdog_.start();
        step.start();
    }

    [[nodiscard]] int reportEvery() const { return std::max(1, cycles_ / 8); }

    void finish() {
        const Tree last = measureTree();
        std::printf(
            "soak: %d cycles in %.0f s; PSS %.1f -> %.1f MiB (growth %+.1f %%), "
            "processes %d -> %d\n",
            cycles_, elapsed_.elapsed() / 1000.0, first_.pssMiB, last.pssMiB,
            (last.pssMiB / first_.pssMiB - 1.0) * 100.0, first_.processes, last.processes);
        std::fflush(stdout);
        QCoreApplication::exit(0);
    }

    Forms& forms_;
    int cycles_;
    int cycle_ = 0;
    std::size_t step_ = 0;
    std::vector<Step> steps_;
    QString awaiting_;
    QTimer watchdog_;
    QElapsedTimer elapsed_ = [] {
        QElapsedTimer timer;
        timer.start();
        return timer;
    }();
    Tree first_;
};

}  // namespace

int main(int argc, char* argv[]) {
    prepareEnvironment();
    QApplication app(argc, argv);
    setUpApplication();
    const int cycles = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;

    demo::DemoPortal portal(demo::PortalOptions{});
    std::string error;
    if (!portal.start(&error)) {
        std::fprintf(stderr, "soak: the demo portal could not start: %s\n", error.c_str());
        return 1;
    }
    AppConfig config = builtInConfig();
    config.portalRoot = QString::fromStdString(portal.root());
    config.siteRoot = QString::fromStdString(portal.siteRoot());
    // The program's folder, for its skin.
    DesktopServices services({}, QCoreApplication::applicationDirPath() + u"/../bin"_s);
    Forms forms(services, config);
    Form& main = forms.form(FormId::Main);
    main.load();
    // As in the program: the portal's films play in Tivora's own player.
    PortalFilms films(services, QUrl(config.portalRoot));
    films.watchPanesOf(forms.mainWindow());
    Soak soak(forms, cycles);
    soak.begin();
    main.show();
    services.browserEngine().startAfterFirstPaint(main.window());
    return QApplication::exec();
}
