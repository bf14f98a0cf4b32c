#include "server/ServerConnectionWindow.h"

#include "forms/BrowserPane.h"
#include "forms/FormDirectory.h"
#include "portal/PortalAddresses.h"
#include "portal/VersionCheck.h"
#include "server/ServerWindowControls.h"

using namespace Qt::StringLiterals;

namespace tivora {
namespace {

const FormDesign kDesign{
    .name = u"Form3"_s,
    .caption = u"服务器连接"_s,
    .clientWidth = 7830,
    .clientHeight = 4485,
    .border = BorderStyle::None,
    .backgroundArt = u"ServerConnect"_s,
};

// clang-format off
const DesignRow kControls[] = {
    {.name = server_window::kCompanionPane, .kind = ControlKind::Browser, .left = 3600, .top = 1440, .width = 2775, .height = 1695},
    {.name = server_window::kCheckPane, .kind = ControlKind::Browser, .left = 4080, .top = 2880, .width = 2175, .height = 1335},
};
// clang-format on

}  // namespace

ServerConnectionWindow::ServerConnectionWindow(Services& services, FormDirectory& forms,
                                               const QString& portalRoot, ContactNumbers contacts)
    : Form(services),
      forms_(forms),
      companionPage_(portal::companionPageAddress(portalRoot)),
      checkPage_(portal::checkPageAddress(portalRoot)),
      contacts_(std::move(contacts)) {}

const FormDesign& ServerConnectionWindow::design() const {
    return kDesign;
}

std::span<const DesignRow> ServerConnectionWindow::designTable() const {
    return kControls;
}

QString ServerConnectionWindow::connectionFailedQuestion() const {
    return u"服务器连接失败，管理员QQ："_s + contacts_.admin + u' ' + u"QQ群："_s +
           contacts_.group1 + u' ' + contacts_.group2 + u"，需要重试吗？"_s;
}

void ServerConnectionWindow::bindEvents() {
    connect(&browser(server_window::kCheckPane), &BrowserPane::documentComplete, this,
            [this] { dispatch([this] { check(); }); });
}

void ServerConnectionWindow::onLoad() {
    attachSkin();
    browser(server_window::kCompanionPane).navigate(companionPage_);
    browser(server_window::kCheckPane).navigate(checkPage_);
}

void ServerConnectionWindow::check() {
    const QString markup = browser(server_window::kCheckPane).outerHTML();
    if (version::serverAnswered(markup)) {
        Q_EMIT serverAnswered();
        if (version::isCurrentVersion(markup)) {
            unload();
            return;
        }
        if (msgBox(u"发现有更新，需要更新吗？"_s, MsgBox::YesNoInformation, u"提示"_s) ==
            MsgBox::AnswerYes) {
            forms_.form(FormId::Update).show();
        }
        unload();
        return;
    }
    if (msgBox(connectionFailedQuestion(), MsgBox::YesNoInformation, u"提示"_s) ==
        MsgBox::AnswerYes) {
        browser(server_window::kCheckPane).navigate(checkPage_);
    } else {
        unload();
    }
}

}  // namespace tivora
