#pragma once

#include "forms/DesignRow.h"
#include "forms/MessageBoxStyle.h"

#include <QObject>
#include <QPixmap>
#include <QPointer>

#include <functional>
#include <map>
#include <memory>
#include <span>

namespace tivora {

class BrowserPane;
class Control;
class FormWindow;
class Services;

// A window with a design table and handlers. A load creates the controls and runs the load
// handler; an unload destroys the controls and keeps the object's own members; hide only hides.
class Form : public QObject {
    Q_OBJECT

public:
    explicit Form(Services& services, QObject* parent = nullptr);
    ~Form() override;

    // Loads the window when it is not loaded, then shows it modeless.
    void show();
    void hide();
    // Runs the unload handler; false when it cancelled.
    bool unload();
    // Loads the window without showing it.
    void load();

    [[nodiscard]] bool isLoaded() const { return !window_.isNull(); }
    [[nodiscard]] bool isVisible() const;
    [[nodiscard]] QWidget* window() const;

    // Throws FormError when the window is not loaded or has no such control.
    [[nodiscard]] Control& control(QStringView name) const;
    [[nodiscard]] BrowserPane& browser(QStringView name) const;

    // Outer size and position in twips, frame included.
    [[nodiscard]] float width() const;
    [[nodiscard]] float height() const;
    // Throws on negative values and on minimized or maximized windows.
    void setWidth(float twips);
    void setHeight(float twips);
    [[nodiscard]] QString caption() const;
    [[nodiscard]] const QString& designName() const { return design().name; }
    void setCaption(const QString& caption);

    // Message box with the product name as title when none is given.
    int msgBox(const QString& prompt, int style = MsgBox::OkOnly, const QString& title = {});

    // Runs an event handler; an escaped failure becomes an unexpected-error message box and the
    // steps done before it stay done.
    void dispatch(const std::function<void()>& handler);

protected:
    [[nodiscard]] virtual const FormDesign& design() const = 0;
    [[nodiscard]] virtual std::span<const DesignRow> designTable() const = 0;
    // The picture art for a key, from the services.
    [[nodiscard]] QPixmap art(const QString& key) const;

    // Makes a control of kind Custom inside parent.
    [[nodiscard]] virtual QWidget* createCustomControl(const DesignRow& row, QWidget* parent);

    // Binds the controls' events; runs after the controls exist, before the load handler.
    virtual void bindEvents() {}
    virtual void onLoad() {}
    // cancel = 1 keeps the window loaded.
    virtual void onUnload(int& /*cancel*/) {}
    virtual void onResize() {}
    // Local files dropped on a window whose design accepts them; none when nothing local came.
    virtual void onFilesDropped(const QStringList& /*paths*/) {}

    // Binds a click of a picture, label or button to a handler run through dispatch().
    void bindClick(QStringView name, std::function<void()> handler);
    void bindMouseMove(QStringView name, std::function<void()> handler);
    // Binds a text box's key presses; the handler gets the character code (13 for Enter).
    void bindKeyPress(QStringView name, std::function<void(int)> handler);

    // Applies the skin file beside the program, as every skinned window does first at load.
    void attachSkin();

    [[nodiscard]] Services& services() const { return services_; }

private:
    friend class FormWindow;
    void createControls();
    void handleClose();
    void handleResize();
    void handleDrop(const QStringList& paths);

    Services& services_;
    QPointer<FormWindow> window_;
    bool loadHandlerRan_ = false;
    std::map<QString, std::unique_ptr<Control>> controls_;
};

}  // namespace tivora
