#pragma once

#include <QColor>
#include <QString>
#include <QStringView>

namespace tivora {

enum class ControlKind {
    Picture,     // image control showing art; clickable
    Label,       // text; sizes itself to its caption when autoSize is set
    TextBox,     // one-line text entry
    Frame,       // plain container
    PictureBox,  // container with an optional bitmap background
    Browser,     // embedded browser pane
    Button,      // push button
    Custom,      // made by the window itself (file lists, video players)
};

// One control of a window's design table. Tables list controls from the top of the stacking order
// down; a container precedes its children.
struct DesignRow {
    QStringView name = {};
    ControlKind kind = ControlKind::Picture;
    QStringView container = {};  // empty: the window's client area
    float left = 0;
    float top = 0;
    float width = 0;
    float height = 0;
    bool visible = true;
    QString caption = {};  // label, text box and button text
    QStringView art = {};  // art key of a picture or picture box background
    bool stretch = false;  // art scaled to the control's size
    bool autoSize = false;
    QColor foreground = {};
    QColor background = {};
    QString fontFamily = {};
    float fontPointSize = 0;
    bool bold = false;
};

enum class BorderStyle { None, FixedSingle, Sizable };

// What a window is at design time besides its controls.
struct FormDesign {
    QString name = {};  // the design name (Form1 …), carried as the window's "designName" property
    QString caption = {};
    float clientWidth = 0;  // twips
    float clientHeight = 0;
    BorderStyle border = BorderStyle::Sizable;
    bool centred = true;
    QString iconArt = {};
    QString backgroundArt = {};  // the window's own picture, drawn unstretched at its top left
    bool acceptsFiles = false;   // files dropped on the window reach its drop handler
};

}  // namespace tivora
