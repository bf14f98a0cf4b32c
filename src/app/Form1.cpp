#include "Form1.h"

#include "BrowserPane.h"
#include "Control.h"
#include "FormDirectory.h"
#include "MainCommands.h"
#include "MainLayout.h"
#include "MainMenu.h"
#include "PortalAddresses.h"
#include "Services.h"

#include <QAction>

using namespace Qt::StringLiterals;

namespace tivora {
namespace {

const FormDesign kDesign{
    .caption = u"Tivora"_s,
    .clientWidth = 12885,
    .clientHeight = 8520,
    .border = BorderStyle::Sizable,
    .centred = true,
    .iconArt = u"AppIcon"_s,
};

constexpr auto Picture = ControlKind::Picture;
constexpr auto PictureBox = ControlKind::PictureBox;
constexpr auto Frame = ControlKind::Frame;
constexpr auto Browser = ControlKind::Browser;

// Windows' button-shadow system colour.
const QColor kButtonShadow(160, 160, 160);
// Around the play page, below the control bar.
const QColor kPlayBackground(Qt::black);

// Top of the stacking order first; containers before their children.
// clang-format off
const DesignRow kControls[] = {
    // On the window.
    {.name = u"Picture3"_s, .kind = PictureBox, .left = 1680, .top = 5160, .width = 8655, .height = 375, .visible = false, .art = u"Picture3"_s},
    {.name = u"Frameleft"_s, .kind = Frame, .left = 0, .top = 0, .width = 12255, .height = 8055, .visible = false, .background = kPlayBackground},
    {.name = u"Framenr"_s, .kind = Frame, .left = 960, .top = 240, .width = 9100, .height = 7335, .visible = false, .background = kButtonShadow},
    {.name = u"Frameright"_s, .kind = Frame, .left = 8520, .top = 0, .width = 3855, .height = 8050},
    {.name = u"Picture1"_s, .kind = PictureBox, .left = 0, .top = 0, .width = 9855, .height = 6135},
    // Full-window pane.
    {.name = u"WebBrowser2"_s, .kind = Browser, .container = u"Frameleft"_s, .left = -50, .top = -350, .width = 7575, .height = 4815},
    // Content pane.
    {.name = u"WebBrowser3"_s, .kind = Browser, .container = u"Framenr"_s, .left = 0, .top = -240, .width = 9155, .height = 7575},
    // Right-hand column.
    {.name = u"WebBrowser1"_s, .kind = Browser, .container = u"Frameright"_s, .left = 0, .top = 720, .width = 3735, .height = 7575},
    {.name = u"Picture2"_s, .kind = PictureBox, .container = u"Frameright"_s, .left = 0, .top = 0, .width = 3855, .height = 735},
    // Side toolbar.
    {.name = u"Text1"_s, .kind = ControlKind::TextBox, .container = u"Picture2"_s, .left = 0, .top = 400, .width = 2175, .height = 300, .caption = u"请输入影片名或演员名"_s, .foreground = QColor(0x80, 0x80, 0x80)},
    {.name = u"Image11"_s, .kind = Picture, .container = u"Picture2"_s, .left = 2220, .top = 390, .width = 600, .height = 300, .art = u"Image11"_s, .stretch = true},
    {.name = u"Image5"_s, .kind = Picture, .container = u"Picture2"_s, .left = 1680, .top = 0, .width = 600, .height = 390, .art = u"Image5"_s},
    {.name = u"Image7"_s, .kind = Picture, .container = u"Picture2"_s, .left = 3000, .top = 0, .width = 600, .height = 390, .visible = false, .art = u"Image7"_s},
    {.name = u"Image9"_s, .kind = Picture, .container = u"Picture2"_s, .left = 360, .top = 0, .width = 600, .height = 390, .visible = false, .art = u"Image9"_s},
    {.name = u"Image4"_s, .kind = Picture, .container = u"Picture2"_s, .left = 1680, .top = 0, .width = 600, .height = 390, .art = u"Image4"_s},
    {.name = u"Image6"_s, .kind = Picture, .container = u"Picture2"_s, .left = 3000, .top = 0, .width = 600, .height = 390, .art = u"Image6"_s},
    {.name = u"Image8"_s, .kind = Picture, .container = u"Picture2"_s, .left = 240, .top = 0, .width = 600, .height = 390, .art = u"Image8"_s},
    {.name = u"Image3"_s, .kind = Picture, .container = u"Picture2"_s, .left = 2880, .top = 390, .width = 870, .height = 300, .art = u"Image3"_s, .stretch = true},
    {.name = u"Image10"_s, .kind = Picture, .container = u"Picture2"_s, .left = 0, .top = 0, .width = 3840, .height = 390, .art = u"Image10"_s, .stretch = true},
    {.name = u"Image2"_s, .kind = Picture, .container = u"Picture2"_s, .left = 0, .top = 0, .width = 3855, .height = 7275, .art = u"Image2"_s, .stretch = true},
    // Backdrop.
    {.name = u"Image28"_s, .kind = Picture, .container = u"Picture1"_s, .left = 0, .top = 2880, .width = 2355, .height = 900, .art = u"Image28"_s},
    {.name = u"Image27"_s, .kind = Picture, .container = u"Picture1"_s, .left = 120, .top = 1800, .width = 2355, .height = 900, .art = u"Image27"_s},
    {.name = u"Image20"_s, .kind = Picture, .container = u"Picture1"_s, .left = 120, .top = 720, .width = 2355, .height = 900, .art = u"Image20"_s},
    {.name = u"Label1"_s, .kind = ControlKind::Label, .container = u"Picture1"_s, .left = 240, .top = 2760, .width = 630, .height = 210, .caption = u"Label1"_s, .autoSize = true, .foreground = QColor(Qt::white), .fontFamily = u"宋体"_s, .fontPointSize = 10.5F},
    {.name = u"Image18"_s, .kind = Picture, .container = u"Picture1"_s, .left = 120, .top = 2160, .width = 1500, .height = 360, .visible = false, .art = u"Image18"_s},
    {.name = u"Image26"_s, .kind = Picture, .container = u"Picture1"_s, .left = 2400, .top = 0, .width = 450, .height = 450, .visible = false, .art = u"Image26"_s},
    {.name = u"Image25"_s, .kind = Picture, .container = u"Picture1"_s, .left = 1920, .top = 0, .width = 450, .height = 450, .visible = false, .art = u"Image25"_s},
    {.name = u"Image24"_s, .kind = Picture, .container = u"Picture1"_s, .left = 960, .top = 0, .width = 450, .height = 450, .visible = false, .art = u"Image24"_s},
    {.name = u"Image23"_s, .kind = Picture, .container = u"Picture1"_s, .left = 480, .top = 0, .width = 450, .height = 450, .visible = false, .art = u"Image23"_s},
    {.name = u"Image22"_s, .kind = Picture, .container = u"Picture1"_s, .left = 1440, .top = 0, .width = 450, .height = 450, .visible = false, .art = u"Image22"_s},
    {.name = u"Image21"_s, .kind = Picture, .container = u"Picture1"_s, .left = 0, .top = 0, .width = 450, .height = 450, .visible = false, .art = u"Image21"_s},
    {.name = u"Image12"_s, .kind = Picture, .container = u"Picture1"_s, .left = 3480, .top = 3480, .width = 3600, .height = 1050, .art = u"Image12"_s},
    {.name = u"Image1"_s, .kind = Picture, .container = u"Picture1"_s, .left = -30, .top = 0, .width = 4995, .height = 4320, .art = u"Image1"_s, .stretch = true},
    // Control bar.
    {.name = u"Image19"_s, .kind = Picture, .container = u"Picture3"_s, .left = 3360, .top = -20, .width = 990, .height = 360, .art = u"Image19"_s},
    {.name = u"Image17"_s, .kind = Picture, .container = u"Picture3"_s, .left = 840, .top = 0, .width = 780, .height = 345, .art = u"Image17"_s},
    {.name = u"Image16"_s, .kind = Picture, .container = u"Picture3"_s, .left = 0, .top = 0, .width = 780, .height = 345, .art = u"Image16"_s},
    {.name = u"Image15"_s, .kind = Picture, .container = u"Picture3"_s, .left = 2520, .top = 0, .width = 780, .height = 345, .art = u"Image15"_s},
    {.name = u"Image14"_s, .kind = Picture, .container = u"Picture3"_s, .left = 1680, .top = 0, .width = 780, .height = 345, .art = u"Image14"_s},
    {.name = u"Image13"_s, .kind = Picture, .container = u"Picture3"_s, .left = 0, .top = 0, .width = 7155, .height = 345, .art = u"Image13"_s, .stretch = true},
};
// clang-format on

// Hover captions of the content-pane buttons.
const std::pair<const char16_t*, const char16_t*> kCaptions[] = {
    {u"Image21", u"开始播放"}, {u"Image22", u"加入收藏"}, {u"Image23", u"正在播放"},
    {u"Image24", u"停止播放"}, {u"Image25", u"最近播放"}, {u"Image26", u"在线直播"},
};

constexpr float kMinimumWidth = 13000;
constexpr float kMinimumHeight = 9000;

}  // namespace

Form1::Form1(Services& services, FormDirectory& forms, QString portalRoot, QString siteRoot)
    : Form(services),
      forms_(forms),
      portalRoot_(std::move(portalRoot)),
      commands_(std::make_unique<MainCommands>(*this, forms, services, portalBaseUrl_,
                                               std::move(siteRoot), [this] { menu_->popup(); })) {}

Form1::~Form1() = default;

const FormDesign& Form1::design() const {
    return kDesign;
}

std::span<const DesignRow> Form1::designTable() const {
    return kControls;
}

void Form1::bindEvents() {
    menu_ = new MainMenu(window());
    for (const MainCommands::Binding& binding : MainCommands::pictureBindings()) {
        bindClick(QString::fromUtf16(binding.trigger),
                  [this, run = binding.run] { (commands_.get()->*run)(); });
    }
    for (const MainCommands::Binding& binding : MainCommands::menuBindings()) {
        connect(menu_->item(QString::fromUtf16(binding.trigger)), &QAction::triggered, this,
                [this, run = binding.run] { dispatch([&] { (commands_.get()->*run)(); }); });
    }
    for (const auto& [button, text] : kCaptions) {
        bindMouseMove(QString::fromUtf16(button), [this, button, text] {
            showCaption(QString::fromUtf16(button), QString::fromUtf16(text));
        });
    }
    bindMouseMove(u"Image1"_s, [this] { hideCaption(); });
    bindKeyPress(u"Text1"_s, [this](int key) {
        if (key == 13) {
            commands_->search();
        }
    });

    // A film opened from the list shows in the content pane; a page opened from there, such as
    // the play page, in the full-window pane.
    connect(&browser(u"WebBrowser1"_s), &BrowserPane::newWindow2, this,
            [this](NewWindowRequest& request) {
                dispatch([&] {
                    request.ppDisp = browser(u"WebBrowser3"_s).browserObject();
                    commands_->showContentPane();
                });
            });
    connect(&browser(u"WebBrowser3"_s), &BrowserPane::newWindow2, this,
            [this](NewWindowRequest& request) {
                dispatch([&] {
                    request.ppDisp = browser(u"WebBrowser2"_s).browserObject();
                    commands_->setFullWindow(true);
                });
            });
}

void Form1::onLoad() {
    forms_.form(FormId::Form3).show();
    portalBaseUrl_ = portalRoot_;
    attachSkin();
    browser(u"WebBrowser3"_s).navigate(portal::kBlankPage);
    browser(u"WebBrowser2"_s).navigate(portal::kBlankPage);
    browser(u"WebBrowser1"_s).navigate(portal::filmListAddress(portalBaseUrl_));
    control(u"Picture3"_s).setHeight(control(u"Image13"_s).height());
}

void Form1::onUnload(int& cancel) {
    if (msgBox(u"确定退出Tivora"_s, MsgBox::YesNoInformation, u"提示"_s) == MsgBox::AnswerYes) {
        services().endProgram(0);
    } else {
        cancel = 1;
    }
}

void Form1::onResize() {
    if (!(width() >= kMinimumWidth && height() >= kMinimumHeight)) {
        // Each size change runs this handler again, nested; this run then lays out last.
        layout::runSkippingFailures(
            {[this] { setWidth(kMinimumWidth); }, [this] { setHeight(kMinimumHeight); }});
    }
    layout::FormTarget target(*this);
    layout::layOutMainWindow(target);
}

void Form1::showCaption(const QString& button, const QString& text) {
    const Control& hovered = control(button);
    Control& background = control(u"Image18"_s);
    Control& label = control(u"Label1"_s);
    background.setTop(hovered.top() + 500.0F);
    background.setLeft(hovered.left() - (background.width() - hovered.width()) / 2.0F);
    background.setVisible(true);
    // The caption is set before centring, so the label is centred by the size of its new text.
    label.setCaption(text);
    label.setTop((background.height() - label.height()) / 2.0F + background.top());
    label.setLeft((background.width() - label.width()) / 2.0F + background.left());
    label.setVisible(true);
}

void Form1::hideCaption() {
    control(u"Image18"_s).setVisible(false);
    control(u"Label1"_s).setVisible(false);
}

}  // namespace tivora
