#pragma once

#include <QStringView>

// The local player window's controls, by what they are.
namespace tivora::player_window {

inline constexpr QStringView kPlayer = u"QvodCtrl1";
inline constexpr QStringView kListFrame = u"Frame1";
inline constexpr QStringView kFileList = u"File1";
inline constexpr QStringView kOpenButton = u"Command1";
inline constexpr QStringView kHideListButton = u"Command2";
inline constexpr QStringView kBanner = u"Picture1";
inline constexpr QStringView kBannerLabel = u"Label1";

}  // namespace tivora::player_window
