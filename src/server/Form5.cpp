#include "Form5.h"

#include "BrowserPane.h"
#include "Control.h"
#include "Services.h"
#include "VersionCheck.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

using namespace Qt::StringLiterals;

namespace tivora {
namespace {

const FormDesign kDesign{
    .caption = u"程序更新"_s,
    .clientWidth = 4950,
    .clientHeight = 1905,
    .border = BorderStyle::FixedSingle,
};

const QColor kStatusColour(64, 64, 64);

// clang-format off
const DesignRow kControls[] = {
    {.name = u"Label1"_s, .kind = ControlKind::Label, .left = 1080, .top = 240, .width = 0, .height = 210, .autoSize = true, .foreground = kStatusColour, .fontFamily = u"宋体"_s, .fontPointSize = 10.5F},
    {.name = u"Command1"_s, .kind = ControlKind::Button, .left = 1200, .top = 1080, .width = 1215, .height = 495, .caption = u"更新"_s},
    {.name = u"Command2"_s, .kind = ControlKind::Button, .left = 2520, .top = 1080, .width = 1215, .height = 495, .caption = u"关闭"_s},
    // Below the client area: the check page is read, never seen.
    {.name = u"WebBrowser1"_s, .kind = ControlKind::Browser, .left = 4440, .top = 2520, .width = 1215, .height = 495},
};
// clang-format on

}  // namespace

Form5::Form5(Services& services, const QString& portalRoot)
    : Form(services),
      checkPage_(portalRoot + u"/vrpcs.asp"_s),
      installerAddress_(portalRoot + u"/new.swf"_s) {}

const FormDesign& Form5::design() const {
    return kDesign;
}

std::span<const DesignRow> Form5::designTable() const {
    return kControls;
}

void Form5::bindEvents() {
    timer1_ = new QTimer(window());
    timer1_->setInterval(500);
    connect(timer1_, &QTimer::timeout, this, [this] { dispatch([this] { downloadTick(); }); });
    bindClick(u"Command1"_s, [this] { update(); });
    bindClick(u"Command2"_s, [this] { hide(); });
    connect(&browser(u"WebBrowser1"_s), &BrowserPane::documentComplete, this,
            [this] { dispatch([this] { checkVersion(); }); });
}

void Form5::onLoad() {
    attachSkin();
    browser(u"WebBrowser1"_s).navigate(checkPage_);
}

bool Form5::DownloadFile(const QString& source, const QString& target) {
    return services().downloadFile(source, target);
}

QString Form5::installerTarget() const {
    const QString folder = services().programFolder();
    // Permission bits say little for root; only a file actually created proves the folder writable.
    QTemporaryFile probe(folder + u"/.tivora-write-probe-XXXXXX"_s);
    if (probe.open()) {
        return folder + u"/new.exe"_s;
    }
    const QString fallback = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(fallback);
    return fallback + u"/new.exe"_s;
}

void Form5::checkVersion() {
    pageText_ = browser(u"WebBrowser1"_s).outerHTML();
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

void Form5::update() {
    if (status_ == version::kNoUpdateNeeded) {
        msgBox(u"当前版本为最新版，无需更新！"_s);
        return;
    }
    setStatusLine(u"正在下载更新包，请勿关闭此窗口！"_s);
    timer1_->start();
}

void Form5::downloadTick() {
    timer1_->stop();
    const QString target = installerTarget();
    if (!DownloadFile(installerAddress_, target)) {
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

void Form5::setStatusLine(const QString& text) {
    Control& label = control(u"Label1"_s);
    label.setCaption(text);
    label.setLeft((width() - label.width()) / 2.0F);
}

}  // namespace tivora
