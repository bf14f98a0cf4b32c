#pragma once

#include <QString>

namespace tivora {

// Message box style values: a button set plus an icon, as the windows pass them.
namespace MsgBox {
inline constexpr int OkOnly = 0;
inline constexpr int OkCancel = 1;
inline constexpr int YesNoCancel = 3;
inline constexpr int YesNo = 4;
inline constexpr int Critical = 16;
inline constexpr int Question = 32;
inline constexpr int Exclamation = 48;
inline constexpr int Information = 64;
inline constexpr int YesNoInformation = YesNo + Information;  // 68

inline constexpr int AnswerOk = 1;
inline constexpr int AnswerCancel = 2;
inline constexpr int AnswerYes = 6;
inline constexpr int AnswerNo = 7;
}  // namespace MsgBox

inline const QString kProductName = QStringLiteral("Tivora");

// Boxes without a title of their own carry the product name.
[[nodiscard]] inline QString messageBoxTitle(const QString& title) {
    return title.isEmpty() ? kProductName : title;
}

}  // namespace tivora
