#pragma once

#include <QPixmap>
#include <QSize>
#include <QStringList>
#include <QStringView>

// The program's picture art, painted in code so the skin needs no image files.
namespace tivora::art {

// The picture for a picture control, by art key; a null pixmap for an unknown key.
[[nodiscard]] QPixmap picture(QStringView key);

// Pixel size the art for key is drawn at (invalid QSize for unknown keys).
[[nodiscard]] QSize pictureSize(QStringView key);

// Every key known, for tests and previews.
[[nodiscard]] QStringList keys();

}  // namespace tivora::art
