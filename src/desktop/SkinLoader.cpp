#include "desktop/SkinLoader.h"

#include "codepage/AnsiCodec.h"
#include "forms/Logging.h"

#include <cstdio>

using namespace Qt::StringLiterals;

namespace tivora {

SkinLoader::SkinLoader(QString libraryPath, Warn warn)
    : libraryPath_(std::move(libraryPath)), warn_(std::move(warn)) {}

// The library stays loaded for the life of the process: the style it set refers to its code.
SkinLoader::~SkinLoader() = default;

bool SkinLoader::attach(const QString& skinFile, const QString& password) {
    if (!triedLoad_) {
        triedLoad_ = true;
        library_.setFileName(libraryPath_);
        if (!library_.load()) {
            warnOnce(u"skin library not loaded, windows stay unskinned: "_s +
                     library_.errorString());
        } else {
            entry_ = reinterpret_cast<AttachEx>(library_.resolve("SkinH_AttachEx"));
            if (entry_ == nullptr) {
                warnOnce(u"skin library has no SkinH_AttachEx, windows stay unskinned"_s);
            }
        }
    }
    if (entry_ == nullptr) {
        return false;
    }
    const QByteArray file = toAnsi(skinFile);
    const QByteArray secret = toAnsi(password);
    const int result = entry_(file.constData(), secret.constData());
    if (result != 0) {
        warnOnce(u"skin file %1 not applied (code %2), windows stay unskinned"_s.arg(skinFile).arg(
            result));
        return false;
    }
    return true;
}

void SkinLoader::warnOnce(const QString& message) {
    if (warned_) {
        return;
    }
    warned_ = true;
    if (warn_) {
        warn_(message);
        return;
    }
    qCWarning(lcDesktop).noquote() << message;
}

}  // namespace tivora
