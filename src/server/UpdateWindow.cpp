#include "server/UpdateWindow.h"

#include "forms/BrowserPane.h"
#include "forms/Control.h"
#include "forms/QuitRequest.h"
#include "forms/Services.h"
#include "portal/PortalAddresses.h"
#include "portal/VersionCheck.h"
#include "server/ServerWindowControls.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>

using namespace Qt::StringLiterals;

namespace tivora {
namespace {

const FormDesign kDesign{
    .name = u"Form5"_s,
    .caption = u"程序更新"_s,
    .clientWidth = 4950,
    .clientHeight = 1905,
    .border = BorderStyle::FixedSingle,
};

const QColor kStatusColour(64, 64, 64);

const QString kInstallerName = u"new.exe"_s;

// clang-format off
const DesignRow kControls[] = {
    {.name = update_window::kStatusLabel, .kind = ControlKind::Label, .left = 1080, .top = 240, .width = 0, .height = 210, .autoSize = true, .foreground = kStatusColour, .fontFamily = u"宋体"_s, .fontPointSize = 10.5F},
    {.name = update_window::kUpdateButton, .kind = ControlKind::Button, .left = 1200, .top = 1080, .width = 1215, .height = 495, .caption = u"更新"_s},
    {.name = update_window::kCloseButton, .kind = ControlKind::Button, .left = 2520, .top = 1080, .width = 1215, .height = 495, .caption = u"关闭"_s},
    // Below the client area: the check page is read, never seen.
    {.name = update_window::kCheckPane, .kind = ControlKind::Browser, .left = 4440, .top = 2520, .width = 1215, .height = 495},
};
// clang-format on

}  // namespace

UpdateWindow::UpdateWindow(Services& services, const QString& portalRoot)
    : Form(services),
      checkPage_(portal::checkPageAddress(portalRoot)),
      installerAddress_(portal::installerAddress(portalRoot)) {}

const FormDesign& UpdateWindow::design() const {
    return kDesign;
}

std::span<const DesignRow> UpdateWindow::designTable() const {
    return kControls;
}

void UpdateWindow::bindEvents() {
    timer1_ = new QTimer(window());
    timer1_->setInterval(500);
    connect(timer1_, &QTimer::timeout, this, [this] { dispatch([this] { downloadTick(); }); });
    bindClick(update_window::kUpdateButton, [this] { update(); });
    bindClick(update_window::kCloseButton, [this] { hide(); });
    connect(&browser(update_window::kCheckPane), &BrowserPane::documentComplete, this,
            [this] { dispatch([this] { checkVersion(); }); });
}

void UpdateWindow::onLoad() {
    attachSkin();
    browser(update_window::kCheckPane).navigate(checkPage_);
}

bool UpdateWindow::DownloadFile(const QString& source, const QString& target) {
    // The download holds this handler until it ends; meanwhile the window repaints and shows how
    // far it is, and takes no input.
    QElapsedTimer sinceShown;
    const auto progress = [this, &sinceShown](qint64 received, qint64 total) {
        if (received <= 0 || (sinceShown.isValid() && !sinceShown.hasExpired(100))) {
            return;
        }
        sinceShown.start();
        setStatusLine(downloadProgressText(received, total));
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    };
    return services().downloadFile(source, target, progress);
}

QString UpdateWindow::downloadProgressText(qint64 received, qint64 total) {
    const auto megabytes = [](qint64 bytes) {
        return QString::number(static_cast<double>(bytes) / (1024.0 * 1024.0), 'f', 1) + u" MB"_s;
    };
    if (total <= 0) {
        return u"正在下载新版本… "_s + megabytes(received);
    }
    return u"正在下载新版本… %1%  %2/%3"_s.arg(received * 100 / total)
        .arg(megabytes(received), megabytes(total));
}

QString UpdateWindow::installerTarget() const {
    return services().writableFolderFor(kInstallerName) + u'/' + kInstallerName;
}

void UpdateWindow::checkVersion() {
    pageText_ = browser(update_window::kCheckPane).outerHTML();
    // A page without a well-formed version counts as no answer, rather than showing two
    // characters from elsewhere as a version.
    const std::optional<QString> code =
        version::serverAnswered(pageText_) ? version::versionCode(pageText_) : std::nullopt;
    if (!code) {
        msgBox(u"连接更新服务器失败，请重试！"_s);
        hide();
        return;
    }
    pageText_ = *code;
    status_ = version::statusFor(*code);
    setStatusLine(version::versionLabel(*code, status_));
}

void UpdateWindow::update() {
    if (status_ == version::kNoUpdateNeeded) {
        msgBox(u"当前版本为最新版，无需更新！"_s);
        return;
    }
    setStatusLine(u"正在下载更新包，请勿关闭此窗口！"_s);
    timer1_->start();
}

void UpdateWindow::downloadTick() {
    timer1_->stop();
    const QString target = installerTarget();
    const bool downloaded = DownloadFile(installerAddress_, target);
    // A quit asked for during the download ends the program, not the update.
    if (quit::requested()) {
        return;
    }
    if (!downloaded) {
        setStatusLine(u"更新包下载失败，请检查网络后点击“更新”重试。"_s);
        return;
    }
    setStatusLine(u"更新包下载成功，请安装！"_s);
    QFile installer(target);
    installer.setPermissions(installer.permissions() | QFileDevice::ExeOwner |
                             QFileDevice::ExeUser);
    if (!services().startProgram(target, {}, WindowStyle::NormalFocus)) {
        msgBox(u"无法启动更新安装程序，请手动运行：%1"_s.arg(QDir::toNativeSeparators(target)));
        return;
    }
    services().endProgram(0);
}

void UpdateWindow::setStatusLine(const QString& text) {
    Control& label = control(update_window::kStatusLabel);
    label.setCaption(text);
    label.setLeft((width() - label.width()) / 2.0F);
}

}  // namespace tivora
