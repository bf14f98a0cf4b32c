#include "app/Application.h"

#include "app/AppConfig.h"
#include "app/FileRefusal.h"
#include "app/Forms.h"
#include "app/InstanceMessage.h"
#include "app/MainWindow.h"
#include "app/PortalFilms.h"
#include "app/SingleInstance.h"
#include "browser/EngineLanguage.h"
#include "browser/EngineStart.h"
#include "browser/GlShareContext.h"
#include "demo-portal/DemoPortal.h"
#include "desktop/DesktopServices.h"
#include "desktop/PlatformConventions.h"
#include "forms/Form.h"
#include "forms/LocalPath.h"
#include "forms/Logging.h"
#include "forms/StartupTrace.h"
#include "player/PlayerWindow.h"
#include "portal/ClientVersion.h"
#include "portal/MainWindowControls.h"

#include <QApplication>
#include <QEvent>
#include <QFont>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QStringList>
#include <QTranslator>
#include <QUrl>
#include <QWidget>

#include <clocale>
#include <memory>
#include <string>

using namespace Qt::StringLiterals;

namespace tivora {
namespace {

// A later start's file plays here, then whichever of the player and the main window stands for the
// program comes to the front.
void takeRequest(Forms& forms, const InstanceRequest& request) {
    if (!request.openFile.isEmpty()) {
        forms.playerWindow().openFromOutside(request.openFile);
    }
    for (const FormId id : {FormId::Player, FormId::Main}) {
        QWidget* window = forms.exists(id) ? forms.form(id).window() : nullptr;
        if (window != nullptr && window->isVisible()) {
            window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
            window->raise();
            window->activateWindow();
            return;
        }
    }
}

// Marks the main window's first paint in the start-up trace.
class FirstPaintMark final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            trace::mark(u"main window first paint"_s);
            watched->removeEventFilter(this);
        }
        return false;
    }
};

}  // namespace

void prepareEnvironment() {
    platform::prepareProcessEnvironment();
    prepareEngineLanguage();
    // WebEngine and OpenGL widgets share one context, made when the engine starts rather than with
    // the application object, where it would hold up the first window.
    gl_share::reserve();
    // A video's native window over a page must not turn the page's view native as well.
    QCoreApplication::setAttribute(Qt::AA_DontCreateNativeWidgetSiblings);
}

void setUpApplication() {
    QApplication::setApplicationName(u"Tivora"_s);
    QApplication::setOrganizationName(u"Tivora"_s);
    // Side windows close without ending the run; only the main window's unload does.
    QApplication::setQuitOnLastWindowClosed(false);
    logging::installMessageFormat();
    // libmpv needs C number formatting.
    std::setlocale(LC_NUMERIC, "C");
    installFontSubstitutions();
    installTranslations();
}

void installTranslations() {
    // Qt's own dialogs and buttons (是 / 否 / 确定 / 取消, the file dialog, text-box menus) and the
    // web engine's speak Chinese like the rest of Tivora, whatever the system's locale.
    const QLocale chinese(QLocale::Chinese, QLocale::China);
    for (const QString& catalogue : {u"qtbase"_s, u"qtwebengine"_s}) {
        auto* translator = new QTranslator(QCoreApplication::instance());
        if (translator->load(chinese, catalogue, u"_"_s,
                             QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
            QCoreApplication::installTranslator(translator);
        } else {
            qCWarning(lcApp).noquote() << u"no Chinese translation of "_s + catalogue;
            delete translator;
        }
    }
}

void installFontSubstitutions() {
    const QStringList songFonts{u"AR PL UMing CN"_s, u"AR PL SungtiL GB"_s, u"Noto Serif CJK SC"_s,
                                u"Noto Sans CJK SC"_s};
    QFont::insertSubstitutions(u"宋体"_s, songFonts);
    QFont::insertSubstitutions(u"SimSun"_s, songFonts);
}

CommandLine readCommandLine(int argc, char* argv[]) {
    trace::mark(u"main"_s);
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        // A file name may be any bytes; Qt's own decoding would lose those that are not UTF-8.
        arguments << localpath::fromBytes(QByteArray(argv[i]));
    }
    CommandLine commandLine = parseCommandLine(arguments, builtInConfig());
    if (commandLine.action == CommandLine::Action::Error) {
        commandLine.message = u"tivora: "_s + commandLine.message + u"\nTry 'tivora --help'."_s;
    }
    if (!commandLine.message.endsWith(u'\n')) {
        commandLine.message += u'\n';
    }
    return commandLine;
}

void showCommandLineRefusal(int argc, char* argv[], const CommandLine& commandLine) {
    if (commandLine.fileRefusal == CommandLine::FileRefusal::None || !platform::canShowWindows()) {
        return;
    }
    prepareEnvironment();
    QApplication app(argc, argv);
    setUpApplication();
    DesktopServices services;
    tellFileRefusal(services, commandLine);
}

int runApplication(int argc, char* argv[], const CommandLine& commandLine) {
    prepareEnvironment();
    QApplication app(argc, argv);
    setUpApplication();
    QApplication::setApplicationVersion(QString::fromUtf16(client::kShortVersion));
    trace::mark(u"application made"_s);
    // Before anything costly starts: a later start hands its file to the running program and ends.
    std::unique_ptr<SingleInstance> instance;
    if (!commandLine.newInstance) {
        instance = std::make_unique<SingleInstance>(platform::instanceEndpoint());
        if (instance->start(InstanceRequest{.openFile = commandLine.config.openFile}) ==
            SingleInstance::Start::HandedOver) {
            return 0;
        }
    }
    // A logout or kill ends the run the same way, so what the windows keep is saved.
    platform::quitOnTerminationRequest();

    AppConfig config = commandLine.config;
    // Without a portal of its own, Tivora brings one: the demo portal on a free loopback port.
    std::unique_ptr<demo::DemoPortal> demoPortal;
    if (config.portalRoot.isEmpty()) {
        demoPortal = std::make_unique<demo::DemoPortal>(demo::PortalOptions{});
        std::string error;
        if (!demoPortal->start(&error)) {
            qCCritical(lcApp).noquote()
                << u"the demo portal could not start: "_s + QString::fromStdString(error);
            return 1;
        }
        trace::mark(u"demo portal started"_s);
        config.portalRoot = QString::fromStdString(demoPortal->root());
        if (config.siteRoot.isEmpty()) {
            config.siteRoot = QString::fromStdString(demoPortal->siteRoot());
        }
    }
    if (config.siteRoot.isEmpty()) {
        config.siteRoot = config.portalRoot;
    }

    DesktopServices services;
    trace::mark(u"services made"_s);
    Forms forms(services, config);
    // The main window is the start-up object: its load shows everything else.
    Form& mainWindow = forms.form(FormId::Main);
    mainWindow.show();
    // The portal's films play in Tivora's own player; they stop before the windows go.
    PortalFilms portalFilms(services, QUrl(config.portalRoot));
    portalFilms.watchPanesOf(forms.mainWindow());
    // Painting waits for the event loop; the web engine for the main window's first frame, so that
    // the window's own face is there at once. The panes' loads are held until then.
    FirstPaintMark firstPaint;
    if (mainWindow.window() != nullptr) {
        if (trace::enabled()) {
            mainWindow.window()->installEventFilter(&firstPaint);
        }
        // The film list is what the user waits for: the server-connection window's pages follow it.
        services.browserEngine().putFirst(&mainWindow.browser(main_window::kListPane));
        services.browserEngine().startAfterFirstPaint(mainWindow.window());
    }
    if (!config.openFile.isEmpty()) {
        forms.playerWindow().openFromOutside(config.openFile);
    }
    if (instance) {
        QObject::connect(instance.get(), &SingleInstance::requestReceived, instance.get(),
                         [&forms](const InstanceRequest& request) { takeRequest(forms, request); });
    }
    return QApplication::exec();
}

}  // namespace tivora
