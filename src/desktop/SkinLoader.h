#pragma once

#include <QLibrary>
#include <QString>

#include <functional>

namespace tivora {

// Binding to the skin library beside the program, loaded at the first attach. A missing library,
// entry or skin file leaves the windows unskinned with one warning on standard error.
class SkinLoader final {
public:
    using Warn = std::function<void(const QString&)>;

    // libraryPath: the library's path without platform prefix or suffix. Warnings go to standard
    // error unless warn takes them.
    explicit SkinLoader(QString libraryPath, Warn warn = {});
    SkinLoader(const SkinLoader&) = delete;
    SkinLoader& operator=(const SkinLoader&) = delete;
    ~SkinLoader();

    // True when the library accepted the skin.
    bool attach(const QString& skinFile, const QString& password);

    [[nodiscard]] bool isLibraryLoaded() const { return entry_ != nullptr; }

private:
    using AttachEx = int
#if defined(_WIN32) && !defined(_WIN64)
        (__stdcall*)
#else
        (*)
#endif
            (const char*, const char*);

    void warnOnce(const QString& message);

    QString libraryPath_;
    Warn warn_;
    QLibrary library_;
    AttachEx entry_ = nullptr;
    bool triedLoad_ = false;
    bool warned_ = false;
};

}  // namespace tivora
