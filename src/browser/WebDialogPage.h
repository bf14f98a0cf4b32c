#pragma once

#include <QSet>
#include <QString>
#include <QWebEnginePage>

class QAuthenticator;
class QWebEngineCertificateError;

namespace tivora {

// A page whose dialogs speak Chinese and carry the product's name: script boxes (alert, confirm,
// prompt), the file chooser and sign-in. From its second script box on, a page may be stopped from
// showing more until its next load, so a script that shows boxes in a loop cannot hold the user.
// Certificate errors are refused.
class WebDialogPage : public QWebEnginePage {
    Q_OBJECT

public:
    WebDialogPage(QWebEngineProfile* profile, QObject* parent);

    // Text a box shows of a page's message; longer messages are cut there.
    static constexpr qsizetype kShownTextLimit = 2000;
    // The box that first offers to stop the page's boxes.
    static constexpr int kBoxOfferingBlock = 2;

protected:
    void javaScriptAlert(const QUrl& securityOrigin, const QString& msg) override;
    bool javaScriptConfirm(const QUrl& securityOrigin, const QString& msg) override;
    bool javaScriptPrompt(const QUrl& securityOrigin, const QString& msg,
                          const QString& defaultValue, QString* result) override;
    QStringList chooseFiles(FileSelectionMode mode, const QStringList& oldFiles,
                            const QStringList& acceptedMimeTypes) override;

private:
    enum class Box { Alert, Confirm };
    // Shows a script box unless the page's boxes are stopped; true when accepted.
    bool scriptBox(Box kind, const QString& message);
    void signIn(const QUrl& address, QAuthenticator* authenticator, const QString& host);
    void onCertificateError(const QWebEngineCertificateError& error);
    [[nodiscard]] QWidget* dialogParent() const;

    int boxesShown_ = 0;
    bool dialogsBlocked_ = false;
    QSet<QString> refusedSignIns_;  // hosts whose sign-in the user cancelled, until the next load
};

}  // namespace tivora
