#pragma once

#include "forms/Form.h"

#include <QPointer>
#include <QTimer>

namespace tivora {
namespace test {
class UpdateWindowProbe;
}

// The update window: shows the latest version the portal offers and downloads, starts and hands
// over to a newer installer.
class UpdateWindow final : public Form {
    Q_OBJECT

public:
    UpdateWindow(Services& services, const QString& portalRoot);

    // Blocking download; true only when the whole file is in place at target.
    bool DownloadFile(const QString& source, const QString& target);
    // The status line while the download runs: "正在下载新版本… 42%  1.2 MB/2.9 MB".
    [[nodiscard]] static QString downloadProgressText(qint64 received, qint64 total);

    [[nodiscard]] const QString& pageText() const { return pageText_; }
    [[nodiscard]] const QString& status() const { return status_; }
    // Where the installer is saved: beside the program, or in the user's data folder when the
    // program's folder cannot be written.
    [[nodiscard]] QString installerTarget() const;

protected:
    [[nodiscard]] const FormDesign& design() const override;
    [[nodiscard]] std::span<const DesignRow> designTable() const override;
    void bindEvents() override;
    void onLoad() override;

private:
    friend class test::UpdateWindowProbe;

    void checkVersion();
    void update();
    void downloadTick();
    void setStatusLine(const QString& text);

    const QString checkPage_;
    const QString installerAddress_;
    // Kept across unload and load.
    QString pageText_;
    QString status_;
    QPointer<QTimer> timer1_;
};

}  // namespace tivora
