#include "Form3.h"

#include "BrowserPane.h"
#include "FormDirectory.h"

using namespace Qt::StringLiterals;

namespace tivora {
namespace {

const FormDesign kDesign{
    .caption = u"服务器连接"_s,
    .clientWidth = 7830,
    .clientHeight = 4485,
    .border = BorderStyle::None,
};

const DesignRow kControls[] = {
    {.name = u"WebBrowser2"_s,
     .kind = ControlKind::Browser,
     .left = 3600,
     .top = 1440,
     .width = 2775,
     .height = 1695},
    {.name = u"WebBrowser1"_s,
     .kind = ControlKind::Browser,
     .left = 4080,
     .top = 2880,
     .width = 2175,
     .height = 1335},
};

}  // namespace

Form3::Form3(Services& services, FormDirectory& forms, const QString& portalRoot)
    : Form(services),
      forms_(forms),
      companionPage_(portalRoot + u"/vrtj.html"_s),
      checkPage_(portalRoot + u"/vrpcs.asp"_s) {}

const FormDesign& Form3::design() const {
    return kDesign;
}

std::span<const DesignRow> Form3::designTable() const {
    return kControls;
}

void Form3::onLoad() {
    attachSkin();
    browser(u"WebBrowser2"_s).navigate(companionPage_);
    browser(u"WebBrowser1"_s).navigate(checkPage_);
}

}  // namespace tivora
