#include "server/AboutWindow.h"

#include "forms/Control.h"
#include "portal/ClientVersion.h"
#include "server/ServerWindowControls.h"

using namespace Qt::StringLiterals;

namespace tivora {
namespace {

const FormDesign kDesign{
    .name = u"Form2"_s,
    .caption = u"关于 Tivora"_s,
    .clientWidth = 6960,
    .clientHeight = 4350,
    .border = BorderStyle::None,
};

const QColor kWhite(Qt::white);
const QString kVersionCaption = u"Tivora V"_s + QString::fromUtf16(client::kShortVersion);

// The labels lie over the picture.
// clang-format off
const DesignRow kControls[] = {
    {.name = about_window::kTitleLabel, .kind = ControlKind::Label, .left = 2040, .top = 120, .width = 1500, .height = 360, .caption = u"关于程序"_s, .foreground = kWhite, .fontFamily = u"宋体"_s, .fontPointSize = 18, .bold = true},
    {.name = about_window::kContactLabel, .kind = ControlKind::Label, .left = 360, .top = 960, .width = 5265, .height = 240, .caption = u"© 2010-2026 Tivora  support@tivora.cn"_s, .foreground = kWhite, .fontFamily = u"宋体"_s, .fontPointSize = 12, .bold = true},
    {.name = about_window::kVersionLabel, .kind = ControlKind::Label, .left = 2040, .top = 1440, .width = 1725, .height = 210, .caption = kVersionCaption, .foreground = kWhite, .fontFamily = u"宋体"_s, .fontPointSize = 10.5F, .bold = true},
    {.name = about_window::kOkLabel, .kind = ControlKind::Label, .left = 2640, .top = 1920, .width = 510, .height = 240, .caption = u"确定"_s, .foreground = kWhite, .fontFamily = u"宋体"_s, .fontPointSize = 12, .bold = true},
    {.name = about_window::kPicture, .kind = ControlKind::Picture, .left = 0, .top = 0, .width = 6000, .height = 2400, .art = u"About"},
};
// clang-format on

}  // namespace

AboutWindow::AboutWindow(Services& services) : Form(services) {}

const FormDesign& AboutWindow::design() const {
    return kDesign;
}

std::span<const DesignRow> AboutWindow::designTable() const {
    return kControls;
}

void AboutWindow::bindEvents() {
    bindClick(about_window::kOkLabel, [this] { hide(); });
}

void AboutWindow::onLoad() {
    // Borderless: the window is exactly the picture.
    setWidth(control(about_window::kPicture).width());
    setHeight(control(about_window::kPicture).height());
}

}  // namespace tivora
