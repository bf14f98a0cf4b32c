#pragma once

#include <QLoggingCategory>

// Every diagnostic line goes through one of these categories, one per room; messages meant for the
// user are Chinese boxes instead. QT_LOGGING_RULES="tivora.player.warning=false" and the like
// silence a room.
namespace tivora::logging {

// The one format of every diagnostic line: "tivora.player: …".
void installMessageFormat();

}  // namespace tivora::logging

Q_DECLARE_LOGGING_CATEGORY(lcApp)
Q_DECLARE_LOGGING_CATEGORY(lcBrowser)
Q_DECLARE_LOGGING_CATEGORY(lcDesktop)
Q_DECLARE_LOGGING_CATEGORY(lcForms)
Q_DECLARE_LOGGING_CATEGORY(lcPlayer)
Q_DECLARE_LOGGING_CATEGORY(lcPortal)
Q_DECLARE_LOGGING_CATEGORY(lcServer)
Q_DECLARE_LOGGING_CATEGORY(lcTrace)
