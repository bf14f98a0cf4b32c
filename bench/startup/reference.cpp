// The bare reference for bench/startup.sh: one Qt WebEngine view with one persistent profile,
// loading the address it is given.  reference URL [BLANK-VIEWS]
#include <QApplication>
#include <QStandardPaths>
#include <QUrl>
#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>
#include <QWidget>

#include <memory>
#include <vector>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tivora-bench-reference"));
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() < 2) {
        return 2;
    }
    const int blankViews = arguments.size() > 2 ? arguments.at(2).toInt() : 0;
    QWebEngineProfile profile(QStringLiteral("reference"));
    profile.setPersistentStoragePath(
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/web"));
    profile.setPersistentCookiesPolicy(QWebEngineProfile::ForcePersistentCookies);
    profile.setHttpCacheType(QWebEngineProfile::DiskHttpCache);

    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    std::vector<std::unique_ptr<QWebEnginePage>> pages;
    for (int i = 0; i <= blankViews; ++i) {
        auto* view = new QWebEngineView(&window);
        pages.push_back(std::make_unique<QWebEnginePage>(&profile));
        view->setPage(pages.back().get());
        layout->addWidget(view);
        if (i == 0) {
            view->load(QUrl(arguments.at(1)));
        }
    }
    window.resize(867, 600);
    window.show();
    const int status = QApplication::exec();
    // Views go before their pages, pages before the profile.
    for (QWebEngineView* view : window.findChildren<QWebEngineView*>()) {
        view->setPage(nullptr);
    }
    pages.clear();
    return status;
}
