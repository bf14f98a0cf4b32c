#include "app/MainWindow.h"

#include "app/Forms.h"
#include "app/MainLayout.h"
#include "app/MainMenu.h"
#include "forms/BrowserPane.h"
#include "forms/Control.h"
#include "forms/Services.h"
#include "player/PlayerWindow.h"
#include "portal/MainCommands.h"
#include "portal/MainWindowControls.h"
#include "portal/PortalAddresses.h"
#include "server/ServerConnectionWindow.h"

#include <QAction>

using namespace Qt::StringLiterals;

namespace tivora {
namespace {

const FormDesign kDesign{
    .name = u"Form1"_s,
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

// Top of the stacking order first; containers before their children. The hover caption's label
// carries no text until a hover gives it one.
// clang-format off
const DesignRow kControls[] = {
    // On the window.
    {.name = main_window::kControlBar, .kind = PictureBox, .left = 1680, .top = 5160, .width = 8655, .height = 375, .visible = false, .art = main_window::kControlBar},
    {.name = main_window::kPlayFrame, .kind = Frame, .left = 0, .top = 0, .width = 12255, .height = 8055, .visible = false, .background = kPlayBackground},
    {.name = main_window::kContentFrame, .kind = Frame, .left = 960, .top = 240, .width = 9100, .height = 7335, .visible = false, .background = kButtonShadow},
    {.name = main_window::kListColumn, .kind = Frame, .left = 8520, .top = 0, .width = 3855, .height = 8050},
    {.name = main_window::kBackdrop, .kind = PictureBox, .left = 0, .top = 0, .width = 9855, .height = 6135},
    // Full-window pane.
    {.name = main_window::kPlayPane, .kind = Browser, .container = main_window::kPlayFrame, .left = -50, .top = -350, .width = 7575, .height = 4815},
    // Content pane.
    {.name = main_window::kContentPane, .kind = Browser, .container = main_window::kContentFrame, .left = 0, .top = -240, .width = 9155, .height = 7575},
    // Right-hand column.
    {.name = main_window::kListPane, .kind = Browser, .container = main_window::kListColumn, .left = 0, .top = 720, .width = 3735, .height = 7575},
    {.name = main_window::kSideToolbar, .kind = PictureBox, .container = main_window::kListColumn, .left = 0, .top = 0, .width = 3855, .height = 735},
    // Side toolbar.
    {.name = main_window::kSearchBox, .kind = ControlKind::TextBox, .container = main_window::kSideToolbar, .left = 0, .top = 400, .width = 2175, .height = 300, .caption = u"请输入影片名或演员名"_s, .foreground = QColor(0x80, 0x80, 0x80)},
    {.name = main_window::kSearchButton, .kind = Picture, .container = main_window::kSideToolbar, .left = 2220, .top = 390, .width = 600, .height = 300, .art = main_window::kSearchButton, .stretch = true},
    {.name = main_window::kFilmListTabOn, .kind = Picture, .container = main_window::kSideToolbar, .left = 1680, .top = 0, .width = 600, .height = 390, .art = main_window::kFilmListTabOn},
    {.name = main_window::kFavouritesTabOn, .kind = Picture, .container = main_window::kSideToolbar, .left = 3000, .top = 0, .width = 600, .height = 390, .visible = false, .art = main_window::kFavouritesTabOn},
    {.name = main_window::kSearchTabOn, .kind = Picture, .container = main_window::kSideToolbar, .left = 360, .top = 0, .width = 600, .height = 390, .visible = false, .art = main_window::kSearchTabOn},
    {.name = main_window::kFilmListTab, .kind = Picture, .container = main_window::kSideToolbar, .left = 1680, .top = 0, .width = 600, .height = 390, .art = main_window::kFilmListTab},
    {.name = main_window::kFavouritesTab, .kind = Picture, .container = main_window::kSideToolbar, .left = 3000, .top = 0, .width = 600, .height = 390, .art = main_window::kFavouritesTab},
    {.name = main_window::kSearchTab, .kind = Picture, .container = main_window::kSideToolbar, .left = 240, .top = 0, .width = 600, .height = 390, .art = main_window::kSearchTab},
    {.name = main_window::kMenuButton, .kind = Picture, .container = main_window::kSideToolbar, .left = 2880, .top = 390, .width = 870, .height = 300, .art = main_window::kMenuButton, .stretch = true},
    {.name = main_window::kTabStrip, .kind = Picture, .container = main_window::kSideToolbar, .left = 0, .top = 0, .width = 3840, .height = 390, .art = main_window::kTabStrip, .stretch = true},
    {.name = main_window::kColumnArt, .kind = Picture, .container = main_window::kSideToolbar, .left = 0, .top = 0, .width = 3855, .height = 7275, .art = main_window::kColumnArt, .stretch = true},
    // Backdrop.
    {.name = main_window::kTvLiveButton, .kind = Picture, .container = main_window::kBackdrop, .left = 0, .top = 2880, .width = 2355, .height = 900, .art = main_window::kTvLiveButton},
    {.name = main_window::kOnDemandButton, .kind = Picture, .container = main_window::kBackdrop, .left = 120, .top = 1800, .width = 2355, .height = 900, .art = main_window::kOnDemandButton},
    {.name = main_window::kLocalPlaybackButton, .kind = Picture, .container = main_window::kBackdrop, .left = 120, .top = 720, .width = 2355, .height = 900, .art = main_window::kLocalPlaybackButton},
    {.name = main_window::kCaptionLabel, .kind = ControlKind::Label, .container = main_window::kBackdrop, .left = 240, .top = 2760, .width = 630, .height = 210, .autoSize = true, .foreground = QColor(Qt::white), .fontFamily = u"宋体"_s, .fontPointSize = 10.5F},
    {.name = main_window::kCaptionBackground, .kind = Picture, .container = main_window::kBackdrop, .left = 120, .top = 2160, .width = 1500, .height = 360, .visible = false, .art = main_window::kCaptionBackground},
    {.name = main_window::kLiveButton, .kind = Picture, .container = main_window::kBackdrop, .left = 2400, .top = 0, .width = 450, .height = 450, .visible = false, .art = main_window::kLiveButton},
    {.name = main_window::kRecentButton, .kind = Picture, .container = main_window::kBackdrop, .left = 1920, .top = 0, .width = 450, .height = 450, .visible = false, .art = main_window::kRecentButton},
    {.name = main_window::kStopButton, .kind = Picture, .container = main_window::kBackdrop, .left = 960, .top = 0, .width = 450, .height = 450, .visible = false, .art = main_window::kStopButton},
    {.name = main_window::kNowPlayingButton, .kind = Picture, .container = main_window::kBackdrop, .left = 480, .top = 0, .width = 450, .height = 450, .visible = false, .art = main_window::kNowPlayingButton},
    {.name = main_window::kAddFavouriteButton, .kind = Picture, .container = main_window::kBackdrop, .left = 1440, .top = 0, .width = 450, .height = 450, .visible = false, .art = main_window::kAddFavouriteButton},
    {.name = main_window::kPlayButton, .kind = Picture, .container = main_window::kBackdrop, .left = 0, .top = 0, .width = 450, .height = 450, .visible = false, .art = main_window::kPlayButton},
    {.name = main_window::kWelcomePicture, .kind = Picture, .container = main_window::kBackdrop, .left = 3480, .top = 3480, .width = 3600, .height = 1050, .art = main_window::kWelcomePicture},
    {.name = main_window::kBackdropArt, .kind = Picture, .container = main_window::kBackdrop, .left = -30, .top = 0, .width = 4995, .height = 4320, .art = main_window::kBackdropArt, .stretch = true},
    // Control bar.
    {.name = main_window::kBarMenuButton, .kind = Picture, .container = main_window::kControlBar, .left = 3360, .top = -20, .width = 990, .height = 360, .art = main_window::kBarMenuButton},
    {.name = main_window::kBarHallButton, .kind = Picture, .container = main_window::kControlBar, .left = 840, .top = 0, .width = 780, .height = 345, .art = main_window::kBarHallButton},
    {.name = main_window::kBarStopButton, .kind = Picture, .container = main_window::kControlBar, .left = 0, .top = 0, .width = 780, .height = 345, .art = main_window::kBarStopButton},
    {.name = main_window::kBarLiveButton, .kind = Picture, .container = main_window::kControlBar, .left = 2520, .top = 0, .width = 780, .height = 345, .art = main_window::kBarLiveButton},
    {.name = main_window::kBarFavouritesButton, .kind = Picture, .container = main_window::kControlBar, .left = 1680, .top = 0, .width = 780, .height = 345, .art = main_window::kBarFavouritesButton},
    {.name = main_window::kControlBarArt, .kind = Picture, .container = main_window::kControlBar, .left = 0, .top = 0, .width = 7155, .height = 345, .art = main_window::kControlBarArt, .stretch = true},
};
// clang-format on

// Hover captions of the content-pane buttons.
const std::pair<QStringView, const char16_t*> kCaptions[] = {
    {main_window::kPlayButton, u"开始播放"},       {main_window::kAddFavouriteButton, u"加入收藏"},
    {main_window::kNowPlayingButton, u"正在播放"}, {main_window::kStopButton, u"停止播放"},
    {main_window::kRecentButton, u"最近播放"},     {main_window::kLiveButton, u"在线直播"},
};

constexpr float kMinimumWidth = 13000;
constexpr float kMinimumHeight = 9000;

}  // namespace

MainWindow::MainWindow(Services& services, Forms& forms, QString portalRoot, QString siteRoot,
                       portal::QueryEncoding encoding)
    : Form(services),
      forms_(forms),
      portalRoot_(std::move(portalRoot)),
      commands_(std::make_unique<MainCommands>(
          *this, forms, services, portalBaseUrl_, std::move(siteRoot), [this] { menu_->popup(); },
          encoding)) {
    // The portal is back after all: what could not be loaded at start is loaded now.
    connect(&forms.serverConnectionWindow(), &ServerConnectionWindow::serverAnswered, this,
            [this] { dispatch([this] { reloadFailedPanes(); }); });
}

MainWindow::~MainWindow() = default;

const FormDesign& MainWindow::design() const {
    return kDesign;
}

std::span<const DesignRow> MainWindow::designTable() const {
    return kControls;
}

void MainWindow::bindEvents() {
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
    bindMouseMove(main_window::kBackdropArt, [this] { hideCaption(); });
    bindKeyPress(main_window::kSearchBox, [this](int key) {
        if (key == 13) {
            commands_->search();
        }
    });

    // A film opened from the list shows in the content pane; a page opened from there, such as
    // the play page, in the full-window pane.
    connect(&browser(main_window::kListPane), &BrowserPane::newWindow2, this,
            [this](NewWindowRequest& request) {
                dispatch([&] {
                    request.ppDisp = browser(main_window::kContentPane).browserObject();
                    commands_->showContentPane();
                });
            });
    connect(&browser(main_window::kContentPane), &BrowserPane::newWindow2, this,
            [this](NewWindowRequest& request) {
                dispatch([&] {
                    request.ppDisp = browser(main_window::kPlayPane).browserObject();
                    commands_->setFullWindow(true);
                });
            });
}

void MainWindow::onLoad() {
    forms_.form(FormId::ServerConnection).show();
    portalBaseUrl_ = portalRoot_;
    attachSkin();
    browser(main_window::kContentPane).navigate(portal::kBlankPage);
    browser(main_window::kPlayPane).navigate(portal::kBlankPage);
    browser(main_window::kListPane).navigate(portal::filmListAddress(portalBaseUrl_));
    control(main_window::kControlBar).setHeight(control(main_window::kControlBarArt).height());
}

void MainWindow::onFilesDropped(const QStringList& paths) {
    if (!paths.isEmpty()) {
        forms_.playerWindow().openFromOutside(paths.constFirst());
    }
}

void MainWindow::onUnload(int& cancel) {
    if (msgBox(u"确定退出Tivora"_s, MsgBox::YesNoInformation, u"提示"_s) == MsgBox::AnswerYes) {
        services().endProgram(0);
    } else {
        cancel = 1;
    }
}

void MainWindow::onResize() {
    if (!(width() >= kMinimumWidth && height() >= kMinimumHeight)) {
        // Each size change runs this handler again, nested; this run then lays out last.
        layout::runSkippingFailures(
            {[this] { setWidth(kMinimumWidth); }, [this] { setHeight(kMinimumHeight); }});
    }
    layout::FormTarget target(*this);
    layout::layOutMainWindow(target);
}

void MainWindow::showCaption(QStringView button, const QString& text) {
    const Control& hovered = control(button);
    Control& background = control(main_window::kCaptionBackground);
    Control& label = control(main_window::kCaptionLabel);
    background.setTop(hovered.top() + 500.0F);
    background.setLeft(hovered.left() - (background.width() - hovered.width()) / 2.0F);
    background.setVisible(true);
    // The caption is set before centring, so the label is centred by the size of its new text.
    label.setCaption(text);
    label.setTop((background.height() - label.height()) / 2.0F + background.top());
    label.setLeft((background.width() - label.width()) / 2.0F + background.left());
    label.setVisible(true);
}

void MainWindow::reloadFailedPanes() {
    if (!isLoaded()) {
        return;
    }
    for (const QStringView name :
         {main_window::kListPane, main_window::kContentPane, main_window::kPlayPane}) {
        BrowserPane& pane = browser(name);
        if (pane.showsErrorPage()) {
            pane.refresh();
        }
    }
}

void MainWindow::hideCaption() {
    control(main_window::kCaptionBackground).setVisible(false);
    control(main_window::kCaptionLabel).setVisible(false);
}

}  // namespace tivora
