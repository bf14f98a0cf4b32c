// The driver for bench/portal-playback.sh: Tivora's main window with its real services and its
// portal films, against the portal given. On SIGUSR1 it runs the play command's steps for the film
// (the play page into the full-window pane, the pane shown), as Image21 does for a selected film.
// With --page-video Tivora's player is off for the portal, so the page plays the film itself.
//
//   tivora-bench-portalplay PORTAL_ROOT FILM_ID [--page-video]
#include "app/Application.h"
#include "app/Forms.h"
#include "app/MainWindow.h"
#include "app/PortalFilms.h"
#include "desktop/DesktopServices.h"
#include "forms/BrowserPane.h"
#include "forms/Control.h"
#include "portal/MainWindowControls.h"
#include "portal/PortalAddresses.h"

#include <QApplication>
#include <QTimer>
#include <QUrl>

#include <csignal>
#include <cstdio>

using namespace Qt::StringLiterals;
using namespace tivora;

namespace {

volatile std::sig_atomic_t playAsked = 0;

void askPlay(int /*signal*/) {
    playAsked = 1;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 3) {
        std::fputs("usage: tivora-bench-portalplay PORTAL_ROOT FILM_ID [--page-video]\n", stderr);
        return 2;
    }
    prepareEnvironment();
    QApplication app(argc, argv);
    setUpApplication();
    const QString root = QString::fromLocal8Bit(argv[1]);
    const QString filmId = QString::fromLocal8Bit(argv[2]);
    const bool pageVideo = argc > 3 && qstrcmp(argv[3], "--page-video") == 0;

    DesktopServices services;
    Forms forms(services, AppConfig{.portalRoot = root, .siteRoot = root});
    MainWindow& window = forms.mainWindow();
    window.show();
    PortalFilms films(services, QUrl(root));
    films.setTakeover(!pageVideo);
    films.watchPanesOf(window);

    std::signal(SIGUSR1, askPlay);
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, &window, [&] {
        if (playAsked == 0) {
            return;
        }
        playAsked = 0;
        window.browser(main_window::kPlayPane).navigate(portal::playAddress(root, filmId));
        window.control(main_window::kControlBar).setVisible(true);
        window.control(main_window::kPlayFrame).setVisible(true);
    });
    poll.start();
    return QApplication::exec();
}
