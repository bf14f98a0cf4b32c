#include "Form2.h"

#include "ClientVersion.h"
#include "Control.h"
#include "ServerWindowControls.h"

using namespace Qt::StringLiterals;

namespace tivora {
namespace {

const FormDesign kDesign{
    .caption = u"Form2"_s,
    .clientWidth = 6960,
    .clientHeight = 4350,
    .border = BorderStyle::None,
};

const QColor kWhite(Qt::white);
const QString kVersionCaption = u"Tivora V"_s + QString::fromUtf16(client::kShortVersion);

// The labels lie over the picture.
// clang-format off
const DesignRow kControls[] = {
    {.name = form2::kTitleLabel, .kind = ControlKind::Label, .left = 2040, .top = 120, .width = 1500, .height = 360, .caption = u"关于程序"_s, .foreground = kWhite, .fontFamily = u"宋体"_s, .fontPointSize = 18, .bold = true},
    {.name = form2::kContactLabel, .kind = ControlKind::Label, .left = 360, .top = 960, .width = 5265, .height = 240, .caption = u"© 2010-2026 Tivora  support@tivora.cn"_s, .foreground = kWhite, .fontFamily = u"宋体"_s, .fontPointSize = 12, .bold = true},
    {.name = form2::kVersionLabel, .kind = ControlKind::Label, .left = 2040, .top = 1440, .width = 1725, .height = 210, .caption = kVersionCaption, .foreground = kWhite, .fontFamily = u"宋体"_s, .fontPointSize = 10.5F, .bold = true},
    {.name = form2::kOkLabel, .kind = ControlKind::Label, .left = 2640, .top = 1920, .width = 510, .height = 240, .caption = u"确定"_s, .foreground = kWhite, .fontFamily = u"宋体"_s, .fontPointSize = 12, .bold = true},
    {.name = form2::kPicture, .kind = ControlKind::Picture, .left = 0, .top = 0, .width = 6000, .height = 2400, .art = u"About"},
};
// clang-format on

}  // namespace

Form2::Form2(Services& services) : Form(services) {}

const FormDesign& Form2::design() const {
    return kDesign;
}

std::span<const DesignRow> Form2::designTable() const {
    return kControls;
}

void Form2::bindEvents() {
    bindClick(form2::kOkLabel, [this] { hide(); });
}

void Form2::onLoad() {
    // Borderless: the window is exactly the picture.
    setWidth(control(form2::kPicture).width());
    setHeight(control(form2::kPicture).height());
}

}  // namespace tivora
