#include "Form4.h"

#include "BrowserPane.h"
#include "Control.h"
#include "PortalAddresses.h"
#include "ServerWindowControls.h"

using namespace Qt::StringLiterals;

namespace tivora {
namespace {

const FormDesign kDesign{
    .caption = u"使用帮助"_s,
    .clientWidth = 12300,
    .clientHeight = 6900,
    .border = BorderStyle::Sizable,
    .iconArt = u"AppIcon"_s,
};

const DesignRow kControls[] = {
    {.name = form4::kHelpPane,
     .kind = ControlKind::Browser,
     .left = 0,
     .top = 0,
     .width = 12375,
     .height = 6975},
};

}  // namespace

Form4::Form4(Services& services, const QString& siteRoot)
    : Form(services), helpPage_(portal::helpPageAddress(siteRoot)) {}

const FormDesign& Form4::design() const {
    return kDesign;
}

std::span<const DesignRow> Form4::designTable() const {
    return kControls;
}

void Form4::onLoad() {
    attachSkin();
    browser(form4::kHelpPane).navigate(helpPage_);
}

void Form4::onResize() {
    // The pane takes the window's outer size; the frame's share is clipped at the edges.
    Control& pane = control(form4::kHelpPane);
    pane.setWidth(width());
    pane.setHeight(height());
}

}  // namespace tivora
