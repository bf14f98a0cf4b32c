#include "forms/Form.h"

#include "forms/BrowserPane.h"
#include "forms/Control.h"
#include "forms/ControlWidgets.h"
#include "forms/FormError.h"
#include "forms/FormWindow.h"
#include "forms/Logging.h"
#include "forms/Services.h"
#include "forms/StartupTrace.h"
#include "forms/Twips.h"

#include <QGuiApplication>
#include <QIcon>
#include <QPushButton>
#include <QScreen>

#include <cstdio>
#include <exception>

using namespace Qt::StringLiterals;

namespace tivora {
namespace {

Qt::WindowFlags windowFlags(BorderStyle border) {
    switch (border) {
        case BorderStyle::None:
            return Qt::Window | Qt::FramelessWindowHint;
        case BorderStyle::FixedSingle:
            return Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::WindowMinimizeButtonHint;
        case BorderStyle::Sizable:
            break;
    }
    return Qt::Window;
}

void applyLook(QWidget* widget, const DesignRow& row) {
    if (!row.fontFamily.isEmpty() || row.fontPointSize > 0 || row.bold) {
        QFont font = widget->font();
        if (!row.fontFamily.isEmpty()) {
            font.setFamily(row.fontFamily);
        }
        if (row.fontPointSize > 0) {
            font.setPointSizeF(row.fontPointSize);
        }
        font.setBold(row.bold);
        widget->setFont(font);
    }
    if (row.foreground.isValid()) {
        QPalette palette = widget->palette();
        palette.setColor(QPalette::WindowText, row.foreground);
        palette.setColor(QPalette::Text, row.foreground);
        palette.setColor(QPalette::ButtonText, row.foreground);
        widget->setPalette(palette);
        // A skin's style sheet outranks the palette; the control's own colour must outrank the
        // skin.
        widget->setStyleSheet(u"color: %1;"_s.arg(row.foreground.name()));
    }
}

}  // namespace

Form::Form(Services& services, QObject* parent) : QObject(parent), services_(services) {}

Form::~Form() {
    controls_.clear();
    delete window_.data();
}

void Form::load() {
    if (isLoaded()) {
        return;
    }
    const FormDesign& formDesign = design();
    window_ = new FormWindow(*this, windowFlags(formDesign.border));
    window_->setWindowTitle(formDesign.caption);
    window_->setProperty("designName", formDesign.name);
    const QSize client(twipsToPixels(formDesign.clientWidth),
                       twipsToPixels(formDesign.clientHeight));
    if (formDesign.border == BorderStyle::FixedSingle) {
        window_->setFixedSize(client);
    } else {
        window_->resize(client);
    }
    if (!formDesign.backgroundArt.isEmpty()) {
        window_->setBackgroundArt(art(formDesign.backgroundArt));
    }
    window_->setAcceptDrops(formDesign.acceptsFiles);
    if (!formDesign.iconArt.isEmpty()) {
        window_->setWindowIcon(QIcon(art(formDesign.iconArt)));
    }
    if (formDesign.centred) {
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect area = screen->availableGeometry();
            window_->move(area.center() - QPoint(client.width() / 2, client.height() / 2));
        }
    }
    trace::mark(formDesign.caption + u" window made"_s);
    createControls();
    trace::mark(formDesign.caption + u" controls made"_s);
    bindEvents();
    dispatch([this] { onLoad(); });
    loadHandlerRan_ = true;
    trace::mark(formDesign.caption + u" loaded"_s);
}

void Form::show() {
    load();
    if (window_) {
        window_->show();
        window_->raise();
        window_->activateWindow();
        trace::mark(design().caption + u" shown"_s);
    }
}

void Form::hide() {
    if (window_) {
        window_->hide();
    }
}

bool Form::unload() {
    if (!isLoaded()) {
        return true;
    }
    int cancel = 0;
    dispatch([this, &cancel] { onUnload(cancel); });
    if (cancel != 0 || !isLoaded()) {
        return cancel == 0;
    }
    QPointer<FormWindow> window = window_;
    window_.clear();
    loadHandlerRan_ = false;
    controls_.clear();
    window->hide();
    window->deleteLater();
    return true;
}

bool Form::isVisible() const {
    return !window_.isNull() && window_->isVisible();
}

QWidget* Form::window() const {
    return window_.data();
}

Control& Form::control(QStringView name) const {
    const auto found = controls_.find(name.toString());
    if (found == controls_.end()) {
        throw FormError(isLoaded() ? u"No control named "_s + name.toString()
                                   : u"The window is not loaded: "_s + name.toString());
    }
    return *found->second;
}

BrowserPane& Form::browser(QStringView name) const {
    return control(name).browser();
}

float Form::width() const {
    return window_ ? pixelsToTwips(window_->frameGeometry().width()) : 0;
}

float Form::height() const {
    return window_ ? pixelsToTwips(window_->frameGeometry().height()) : 0;
}

void Form::setWidth(float twips) {
    if (twips < 0) {
        throw InvalidPropertyValue(u"Width"_s);
    }
    if (!window_) {
        throw FormError(u"The window is not loaded"_s);
    }
    if ((window_->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized)) != 0) {
        throw PropertyError(u"Can't change size when minimized or maximized"_s);
    }
    const int frameExtra = window_->frameGeometry().width() - window_->width();
    window_->resize(std::max(0, twipsToPixels(twips) - frameExtra), window_->height());
}

void Form::setHeight(float twips) {
    if (twips < 0) {
        throw InvalidPropertyValue(u"Height"_s);
    }
    if (!window_) {
        throw FormError(u"The window is not loaded"_s);
    }
    if ((window_->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized)) != 0) {
        throw PropertyError(u"Can't change size when minimized or maximized"_s);
    }
    const int frameExtra = window_->frameGeometry().height() - window_->height();
    window_->resize(window_->width(), std::max(0, twipsToPixels(twips) - frameExtra));
}

QString Form::caption() const {
    return window_ ? window_->windowTitle() : design().caption;
}

void Form::setCaption(const QString& caption) {
    if (!window_) {
        throw FormError(u"The window is not loaded"_s);
    }
    window_->setWindowTitle(caption);
}

void Form::dispatch(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& error) {
        // The detail is for the developer; the user is told in plain Chinese.
        qCCritical(lcForms) << "unexpected error:" << error.what();
        msgBox(u"程序发生意外错误，本次操作未完成。"_s, MsgBox::OkOnly + MsgBox::Critical);
    }
}

QWidget* Form::createCustomControl(const DesignRow& row, QWidget* /*parent*/) {
    throw FormError(row.name.toString() + u" needs a custom control this window does not make"_s);
}

QPixmap Form::art(const QString& key) const {
    return services_.picture(key);
}

void Form::bindClick(QStringView name, std::function<void()> handler) {
    QWidget* widget = control(name).widget();
    auto run = [this, handler = std::move(handler)] { dispatch(handler); };
    if (auto* label = qobject_cast<ClickableLabel*>(widget)) {
        connect(label, &ClickableLabel::clicked, this, run);
    } else if (auto* box = qobject_cast<TextBox*>(widget)) {
        connect(box, &TextBox::clicked, this, run);
    } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
        connect(button, &QPushButton::clicked, this, run);
    } else {
        throw FormError(name.toString() + u" has no click event"_s);
    }
}

void Form::bindMouseMove(QStringView name, std::function<void()> handler) {
    auto* label = qobject_cast<ClickableLabel*>(control(name).widget());
    if (label == nullptr) {
        throw FormError(name.toString() + u" has no mouse-move event"_s);
    }
    connect(label, &ClickableLabel::mouseMoved, this,
            [this, handler = std::move(handler)] { dispatch(handler); });
}

void Form::attachSkin() {
    services_.attachSkin(services_.programFolder() + u"/skinh.she"_s, QString());
    trace::mark(design().caption + u" skin attached"_s);
}

void Form::bindKeyPress(QStringView name, std::function<void(int)> handler) {
    auto* box = qobject_cast<TextBox*>(control(name).widget());
    if (box == nullptr) {
        throw FormError(name.toString() + u" has no key-press event"_s);
    }
    connect(box, &TextBox::keyPressed, this,
            [this, handler = std::move(handler)](int key) { dispatch([&] { handler(key); }); });
}

int Form::msgBox(const QString& prompt, int style, const QString& title) {
    return services_.messageBox(prompt, style, messageBoxTitle(title));
}

void Form::createControls() {
    const std::span<const DesignRow> rows = designTable();
    for (const DesignRow& row : rows) {
        QWidget* parent =
            row.container.isEmpty() ? window_.data() : control(row.container).widget();
        QWidget* widget = nullptr;
        BrowserPane* pane = nullptr;
        switch (row.kind) {
            case ControlKind::Picture:
            case ControlKind::Label: {
                auto* label = new ClickableLabel(parent);
                if (row.kind == ControlKind::Picture) {
                    label->setPicture(art(row.art.toString()), row.stretch);
                } else {
                    label->setText(row.caption);
                    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
                }
                widget = label;
                break;
            }
            case ControlKind::TextBox: {
                auto* box = new TextBox(parent);
                box->setText(row.caption);
                box->setCursorPosition(0);
                widget = box;
                break;
            }
            case ControlKind::Frame:
            case ControlKind::PictureBox: {
                auto* container = new Container(parent);
                if (!row.art.isEmpty()) {
                    container->setBackgroundArt(art(row.art.toString()));
                }
                if (row.background.isValid()) {
                    container->setBackgroundColour(row.background);
                }
                widget = container;
                break;
            }
            case ControlKind::Browser:
                pane = services_.createBrowserPane(parent);
                widget = pane->widget();
                break;
            case ControlKind::Button:
                widget = new QPushButton(row.caption, parent);
                break;
            case ControlKind::Custom:
                widget = createCustomControl(row, parent);
                break;
        }
        widget->setObjectName(row.name.toString());
        applyLook(widget, row);
        controls_.emplace(row.name.toString(), std::make_unique<Control>(row, widget, pane));
    }
    // Earlier rows are drawn over later ones.
    // NOLINTNEXTLINE(modernize-loop-convert): clang-tidy 14 cannot read std::views::reverse.
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
        control(row->name).widget()->raise();
    }
}

void Form::handleClose() {
    unload();
}

void Form::handleDrop(const QStringList& paths) {
    dispatch([&] { onFilesDropped(paths); });
}

void Form::handleResize() {
    // The first resize comes with the first show, before the window counts as visible.
    if (isLoaded() && loadHandlerRan_) {
        dispatch([this] { onResize(); });
    }
}

}  // namespace tivora
