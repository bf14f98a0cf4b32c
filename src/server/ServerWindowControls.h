#pragma once

#include <QStringView>

// The controls of the server-connection, update, help and about windows, by what they are.
namespace tivora::server_window {
inline constexpr QStringView kCompanionPane = u"WebBrowser2";
inline constexpr QStringView kCheckPane = u"WebBrowser1";
}  // namespace tivora::server_window

namespace tivora::update_window {
inline constexpr QStringView kStatusLabel = u"Label1";
inline constexpr QStringView kUpdateButton = u"Command1";
inline constexpr QStringView kCloseButton = u"Command2";
inline constexpr QStringView kCheckPane = u"WebBrowser1";
}  // namespace tivora::update_window

namespace tivora::help_window {
inline constexpr QStringView kHelpPane = u"WebBrowser1";
}  // namespace tivora::help_window

namespace tivora::about_window {
inline constexpr QStringView kTitleLabel = u"Label1";
inline constexpr QStringView kContactLabel = u"Label2";
inline constexpr QStringView kVersionLabel = u"Label3";
inline constexpr QStringView kOkLabel = u"Label4";
inline constexpr QStringView kPicture = u"Image1";
}  // namespace tivora::about_window
