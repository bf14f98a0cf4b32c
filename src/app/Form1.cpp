#include "Form1.h"

#include "BrowserPane.h"
#include "Control.h"
#include "Form6.h"
#include "FormDirectory.h"
#include "MainCommands.h"
#include "MainLayout.h"
#include "MainMenu.h"
#include "MainWindowControls.h"
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
    .acceptsFiles = true,
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
    {.name = form1::kControlBar, .kind = PictureBox, .left = 1680, .top = 5160, .width = 8655, .height = 375, .visible = false, .art = form1::kControlBar},
    {.name = form1::kPlayFrame, .kind = Frame, .left = 0, .top = 0, .width = 12255, .height = 8055, .visible = false, .background = kPlayBackground},
    {.name = form1::kContentFrame, .kind = Frame, .left = 960, .top = 240, .width = 9100, .height = 7335, .visible = false, .background = kButtonShadow},
    {.name = form1::kListColumn, .kind = Frame, .left = 8520, .top = 0, .width = 3855, .height = 8050},
    {.name = form1::kBackdrop, .kind = PictureBox, .left = 0, .top = 0, .width = 9855, .height = 6135},
    // Full-window pane.
    {.name = form1::kPlayPane, .kind = Browser, .container = form1::kPlayFrame, .left = -50, .top = -350, .width = 7575, .height = 4815},
    // Content pane.
    {.name = form1::kContentPane, .kind = Browser, .container = form1::kContentFrame, .left = 0, .top = -240, .width = 9155, .height = 7575},
    // Right-hand column.
    {.name = form1::kListPane, .kind = Browser, .container = form1::kListColumn, .left = 0, .top = 720, .width = 3735, .height = 7575},
    {.name = form1::kSideToolbar, .kind = PictureBox, .container = form1::kListColumn, .left = 0, .top = 0, .width = 3855, .height = 735},
    // Side toolbar.
    {.name = form1::kSearchBox, .kind = ControlKind::TextBox, .container = form1::kSideToolbar, .left = 0, .top = 400, .width = 2175, .height = 300, .caption = u"请输入影片名或演员名"_s, .foreground = QColor(0x80, 0x80, 0x80)},
    {.name = form1::kSearchButton, .kind = Picture, .container = form1::kSideToolbar, .left = 2220, .top = 390, .width = 600, .height = 300, .art = form1::kSearchButton, .stretch = true},
    {.name = form1::kFilmListTabOn, .kind = Picture, .container = form1::kSideToolbar, .left = 1680, .top = 0, .width = 600, .height = 390, .art = form1::kFilmListTabOn},
    {.name = form1::kFavouritesTabOn, .kind = Picture, .container = form1::kSideToolbar, .left = 3000, .top = 0, .width = 600, .height = 390, .visible = false, .art = form1::kFavouritesTabOn},
    {.name = form1::kSearchTabOn, .kind = Picture, .container = form1::kSideToolbar, .left = 360, .top = 0, .width = 600, .height = 390, .visible = false, .art = form1::kSearchTabOn},
    {.name = form1::kFilmListTab, .kind = Picture, .container = form1::kSideToolbar, .left = 1680, .top = 0, .width = 600, .height = 390, .art = form1::kFilmListTab},
    {.name = form1::kFavouritesTab, .kind = Picture, .container = form1::kSideToolbar, .left = 3000, .top = 0, .width = 600, .height = 390, .art = form1::kFavouritesTab},
    {.name = form1::kSearchTab, .kind = Picture, .container = form1::kSideToolbar, .left = 240, .top = 0, .width = 600, .height = 390, .art = form1::kSearchTab},
    {.name = form1::kMenuButton, .kind = Picture, .container = form1::kSideToolbar, .left = 2880, .top = 390, .width = 870, .height = 300, .art = form1::kMenuButton, .stretch = true},
    {.name = form1::kTabStrip, .kind = Picture, .container = form1::kSideToolbar, .left = 0, .top = 0, .width = 3840, .height = 390, .art = form1::kTabStrip, .stretch = true},
    {.name = form1::kColumnArt, .kind = Picture, .container = form1::kSideToolbar, .left = 0, .top = 0, .width = 3855, .height = 7275, .art = form1::kColumnArt, .stretch = true},
    // Backdrop.
    {.name = form1::kTvLiveButton, .kind = Picture, .container = form1::kBackdrop, .left = 0, .top = 2880, .width = 2355, .height = 900, .art = form1::kTvLiveButton},
    {.name = form1::kOnDemandButton, .kind = Picture, .container = form1::kBackdrop, .left = 120, .top = 1800, .width = 2355, .height = 900, .art = form1::kOnDemandButton},
    {.name = form1::kLocalPlaybackButton, .kind = Picture, .container = form1::kBackdrop, .left = 120, .top = 720, .width = 2355, .height = 900, .art = form1::kLocalPlaybackButton},
    {.name = form1::kCaptionLabel, .kind = ControlKind::Label, .container = form1::kBackdrop, .left = 240, .top = 2760, .width = 630, .height = 210, .caption = u"Label1"_s, .autoSize = true, .foreground = QColor(Qt::white), .fontFamily = u"宋体"_s, .fontPointSize = 10.5F},
    {.name = form1::kCaptionBackground, .kind = Picture, .container = form1::kBackdrop, .left = 120, .top = 2160, .width = 1500, .height = 360, .visible = false, .art = form1::kCaptionBackground},
    {.name = form1::kLiveButton, .kind = Picture, .container = form1::kBackdrop, .left = 2400, .top = 0, .width = 450, .height = 450, .visible = false, .art = form1::kLiveButton},
    {.name = form1::kRecentButton, .kind = Picture, .container = form1::kBackdrop, .left = 1920, .top = 0, .width = 450, .height = 450, .visible = false, .art = form1::kRecentButton},
    {.name = form1::kStopButton, .kind = Picture, .container = form1::kBackdrop, .left = 960, .top = 0, .width = 450, .height = 450, .visible = false, .art = form1::kStopButton},
    {.name = form1::kNowPlayingButton, .kind = Picture, .container = form1::kBackdrop, .left = 480, .top = 0, .width = 450, .height = 450, .visible = false, .art = form1::kNowPlayingButton},
    {.name = form1::kAddFavouriteButton, .kind = Picture, .container = form1::kBackdrop, .left = 1440, .top = 0, .width = 450, .height = 450, .visible = false, .art = form1::kAddFavouriteButton},
    {.name = form1::kPlayButton, .kind = Picture, .container = form1::kBackdrop, .left = 0, .top = 0, .width = 450, .height = 450, .visible = false, .art = form1::kPlayButton},
    {.name = form1::kWelcomePicture, .kind = Picture, .container = form1::kBackdrop, .left = 3480, .top = 3480, .width = 3600, .height = 1050, .art = form1::kWelcomePicture},
    {.name = form1::kBackdropArt, .kind = Picture, .container = form1::kBackdrop, .left = -30, .top = 0, .width = 4995, .height = 4320, .art = form1::kBackdropArt, .stretch = true},
    // Control bar.
    {.name = form1::kBarMenuButton, .kind = Picture, .container = form1::kControlBar, .left = 3360, .top = -20, .width = 990, .height = 360, .art = form1::kBarMenuButton},
    {.name = form1::kBarHallButton, .kind = Picture, .container = form1::kControlBar, .left = 840, .top = 0, .width = 780, .height = 345, .art = form1::kBarHallButton},
    {.name = form1::kBarStopButton, .kind = Picture, .container = form1::kControlBar, .left = 0, .top = 0, .width = 780, .height = 345, .art = form1::kBarStopButton},
    {.name = form1::kBarLiveButton, .kind = Picture, .container = form1::kControlBar, .left = 2520, .top = 0, .width = 780, .height = 345, .art = form1::kBarLiveButton},
    {.name = form1::kBarFavouritesButton, .kind = Picture, .container = form1::kControlBar, .left = 1680, .top = 0, .width = 780, .height = 345, .art = form1::kBarFavouritesButton},
    {.name = form1::kControlBarArt, .kind = Picture, .container = form1::kControlBar, .left = 0, .top = 0, .width = 7155, .height = 345, .art = form1::kControlBarArt, .stretch = true},
};
// clang-format on

// Hover captions of the content-pane buttons.
const std::pair<QStringView, const char16_t*> kCaptions[] = {
    {form1::kPlayButton, u"开始播放"},       {form1::kAddFavouriteButton, u"加入收藏"},
    {form1::kNowPlayingButton, u"正在播放"}, {form1::kStopButton, u"停止播放"},
    {form1::kRecentButton, u"最近播放"},     {form1::kLiveButton, u"在线直播"},
};

constexpr float kMinimumWidth = 13000;
constexpr float kMinimumHeight = 9000;

}  // namespace

Form1::Form1(Services& services, FormDirectory& forms, QString portalRoot, QString siteRoot,
             portal::QueryEncoding encoding)
    : Form(services),
      forms_(forms),
      portalRoot_(std::move(portalRoot)),
      commands_(std::make_unique<MainCommands>(
          *this, forms, services, portalBaseUrl_, std::move(siteRoot), [this] { menu_->popup(); },
          encoding)) {}

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
        bindClick(binding.trigger, [this, run = binding.run] { (commands_.get()->*run)(); });
    }
    for (const MainCommands::Binding& binding : MainCommands::menuBindings()) {
        connect(menu_->item(binding.trigger), &QAction::triggered, this,
                [this, run = binding.run] { dispatch([&] { (commands_.get()->*run)(); }); });
    }
    for (const auto& caption : kCaptions) {
        bindMouseMove(caption.first, [this, caption] {
            showCaption(caption.first, QString::fromUtf16(caption.second));
        });
    }
    bindMouseMove(form1::kBackdropArt, [this] { hideCaption(); });
    bindKeyPress(form1::kSearchBox, [this](int key) {
        if (key == 13) {
            commands_->search();
        }
    });

    // A film opened from the list shows in the content pane; a page opened from there, such as
    // the play page, in the full-window pane.
    connect(&browser(form1::kListPane), &BrowserPane::newWindow2, this,
            [this](NewWindowRequest& request) {
                dispatch([&] {
                    request.ppDisp = browser(form1::kContentPane).browserObject();
                    commands_->showContentPane();
                });
            });
    connect(&browser(form1::kContentPane), &BrowserPane::newWindow2, this,
            [this](NewWindowRequest& request) {
                dispatch([&] {
                    request.ppDisp = browser(form1::kPlayPane).browserObject();
                    commands_->setFullWindow(true);
                });
            });
}

void Form1::onLoad() {
    forms_.form(FormId::Form3).show();
    portalBaseUrl_ = portalRoot_;
    attachSkin();
    browser(form1::kContentPane).navigate(portal::kBlankPage);
    browser(form1::kPlayPane).navigate(portal::kBlankPage);
    browser(form1::kListPane).navigate(portal::filmListAddress(portalBaseUrl_));
    control(form1::kControlBar).setHeight(control(form1::kControlBarArt).height());
}

void Form1::onFilesDropped(const QStringList& paths) {
    if (!paths.isEmpty()) {
        static_cast<Form6&>(forms_.form(FormId::Form6)).openFromOutside(paths.constFirst());
    }
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

void Form1::showCaption(QStringView button, const QString& text) {
    const Control& hovered = control(button);
    Control& background = control(form1::kCaptionBackground);
    Control& label = control(form1::kCaptionLabel);
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
    control(form1::kCaptionBackground).setVisible(false);
    control(form1::kCaptionLabel).setVisible(false);
}

}  // namespace tivora
