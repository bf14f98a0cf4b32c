#include "Form3.h"

#include "BrowserPane.h"
#include "FormDirectory.h"
#include "PortalAddresses.h"
#include "ServerWindowControls.h"
#include "VersionCheck.h"

using namespace Qt::StringLiterals;

namespace tivora {
namespace {

const FormDesign kDesign{
    .caption = u"服务器连接"_s,
    .clientWidth = 7830,
    .clientHeight = 4485,
    .border = BorderStyle::None,
    .backgroundArt = u"ServerConnect"_s,
};

// clang-format off
const DesignRow kControls[] = {
    {.name = form3::kCompanionPane, .kind = ControlKind::Browser, .left = 3600, .top = 1440, .width = 2775, .height = 1695},
    {.name = form3::kCheckPane, .kind = ControlKind::Browser, .left = 4080, .top = 2880, .width = 2175, .height = 1335},
};
// clang-format on

}  // namespace

Form3::Form3(Services& services, FormDirectory& forms, const QString& portalRoot,
             ContactNumbers contacts)
    : Form(services),
      forms_(forms),
      companionPage_(portal::companionPageAddress(portalRoot)),
      checkPage_(portal::checkPageAddress(portalRoot)),
      contacts_(std::move(contacts)) {}

const FormDesign& Form3::design() const {
    return kDesign;
}

std::span<const DesignRow> Form3::designTable() const {
    return kControls;
}

QString Form3::connectionFailedQuestion() const {
    return u"服务器连接失败，管理员QQ："_s + contacts_.admin + u' ' + u"QQ群："_s +
           contacts_.group1 + u' ' + contacts_.group2 + u"，需要重试吗？"_s;
}

void Form3::bindEvents() {
    connect(&browser(form3::kCheckPane), &BrowserPane::documentComplete, this,
            [this] { dispatch([this] { check(); }); });
}

void Form3::onLoad() {
    attachSkin();
    browser(form3::kCompanionPane).navigate(companionPage_);
    browser(form3::kCheckPane).navigate(checkPage_);
}

void Form3::check() {
    const QString markup = browser(form3::kCheckPane).outerHTML();
    if (version::serverAnswered(markup)) {
        if (version::isCurrentVersion(markup)) {
            unload();
            return;
        }
        if (msgBox(u"发现有更新，需要更新吗？"_s, MsgBox::YesNoInformation, u"提示"_s) ==
            MsgBox::AnswerYes) {
            forms_.form(FormId::Form5).show();
        }
        unload();
        return;
    }
    if (msgBox(connectionFailedQuestion(), MsgBox::YesNoInformation, u"提示"_s) ==
        MsgBox::AnswerYes) {
        browser(form3::kCheckPane).navigate(checkPage_);
    } else {
        unload();
    }
}

}  // namespace tivora
