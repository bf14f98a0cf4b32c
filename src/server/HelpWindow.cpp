#include "server/HelpWindow.h"

#include "forms/BrowserPane.h"
#include "forms/Control.h"
#include "portal/PortalAddresses.h"
#include "server/ServerWindowControls.h"

using namespace Qt::StringLiterals;

namespace tivora {
namespace {

const FormDesign kDesign{
    .name = u"Form4"_s,
    .caption = u"使用帮助"_s,
    .clientWidth = 12300,
    .clientHeight = 6900,
    .border = BorderStyle::Sizable,
    .iconArt = u"AppIcon"_s,
};

const DesignRow kControls[] = {
    {.name = help_window::kHelpPane,
     .kind = ControlKind::Browser,
     .left = 0,
     .top = 0,
     .width = 12375,
     .height = 6975},
};

}  // namespace

HelpWindow::HelpWindow(Services& services, const QString& siteRoot)
    : Form(services), helpPage_(portal::helpPageAddress(siteRoot)) {}

const FormDesign& HelpWindow::design() const {
    return kDesign;
}

std::span<const DesignRow> HelpWindow::designTable() const {
    return kControls;
}

void HelpWindow::onLoad() {
    attachSkin();
    browser(help_window::kHelpPane).navigate(helpPage_);
}

void HelpWindow::onResize() {
    // The pane takes the window's outer size; the frame's share is clipped at the edges.
    Control& pane = control(help_window::kHelpPane);
    pane.setWidth(width());
    pane.setHeight(height());
}

}  // namespace tivora
