#include "forms/Logging.h"

#include <QString>

using namespace Qt::StringLiterals;

Q_LOGGING_CATEGORY(lcApp, "tivora.app")
Q_LOGGING_CATEGORY(lcBrowser, "tivora.browser")
Q_LOGGING_CATEGORY(lcDesktop, "tivora.desktop")
Q_LOGGING_CATEGORY(lcForms, "tivora.forms")
Q_LOGGING_CATEGORY(lcPlayer, "tivora.player")
Q_LOGGING_CATEGORY(lcPortal, "tivora.portal")
Q_LOGGING_CATEGORY(lcServer, "tivora.server")
Q_LOGGING_CATEGORY(lcTrace, "tivora.trace")

namespace tivora::logging {

void installMessageFormat() {
    qSetMessagePattern(
        u"%{if-category}%{category}: %{endif}%{if-critical}error: %{endif}%{message}"_s);
}

}  // namespace tivora::logging
