#include "browser/WebDialogPage.h"

#include "forms/Logging.h"
#include "forms/MessageBoxStyle.h"

#include <QAuthenticator>
#include <QCheckBox>
#include <QDeadlineTimer>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWebEngineCertificateError>
#include <QWebEngineView>

#include <algorithm>
#include <chrono>

using namespace Qt::StringLiterals;

namespace tivora {
namespace {

const QString kBlockChoice = u"阻止此页面再显示对话框"_s;

// Sign-in boxes are one at a time for the whole program: every pane may ask at once. A host
// turned away is refused everywhere for a while, so the other panes' requests of the same burst
// do not ask again one after the other.
bool signInShown = false;
constexpr std::chrono::seconds kRefusalMemory{10};
QHash<QString, QDeadlineTimer> refusedHosts;

bool recentlyRefused(const QString& host) {
    const auto found = refusedHosts.constFind(host);
    return found != refusedHosts.cend() && !found->hasExpired();
}

// A page's message as a box shows it: plain text, and short enough to lay out at once.
QString shownText(const QString& message) {
    if (message.size() <= WebDialogPage::kShownTextLimit) {
        return message;
    }
    return message.left(WebDialogPage::kShownTextLimit) + u'…';
}

void nameButtons(QDialogButtonBox* buttons) {
    if (QPushButton* ok = buttons->button(QDialogButtonBox::Ok)) {
        ok->setText(u"确定"_s);
    }
    if (QPushButton* cancel = buttons->button(QDialogButtonBox::Cancel)) {
        cancel->setText(u"取消"_s);
    }
}

QLabel* messageLabel(const QString& message, QWidget* parent) {
    auto* label = new QLabel(shownText(message), parent);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

// What the file chooser filters for a page's accept list (".png", "image/png", "image/*").
QStringList namePatterns(const QStringList& accepted) {
    const QMimeDatabase mimes;
    QStringList patterns;
    for (const QString& entry : accepted) {
        if (entry.startsWith(u'.')) {
            patterns << u'*' + entry;
        } else if (entry.endsWith(u"/*"_s)) {
            const QString family = entry.chopped(1);
            for (const QMimeType& type : mimes.allMimeTypes()) {
                if (type.name().startsWith(family)) {
                    patterns << type.globPatterns();
                }
            }
        } else {
            patterns << mimes.mimeTypeForName(entry).globPatterns();
        }
    }
    patterns.removeDuplicates();
    return patterns;
}

}  // namespace

WebDialogPage::WebDialogPage(QWebEngineProfile* profile, QObject* parent)
    : QWebEnginePage(profile, parent) {
    connect(this, &QWebEnginePage::loadStarted, this, [this] {
        boxesShown_ = 0;
        dialogsBlocked_ = false;
        refusedSignIns_.clear();
    });
    connect(this, &QWebEnginePage::authenticationRequired, this,
            [this](const QUrl& address, QAuthenticator* authenticator) {
                signIn(address, authenticator, address.host());
            });
    connect(this, &QWebEnginePage::proxyAuthenticationRequired, this,
            [this](const QUrl& address, QAuthenticator* authenticator, const QString& proxyHost) {
                signIn(address, authenticator, proxyHost);
            });
    connect(this, &QWebEnginePage::certificateError, this, &WebDialogPage::onCertificateError);
}

QWidget* WebDialogPage::dialogParent() const {
    QWidget* view = QWebEngineView::forPage(this);
    return view != nullptr ? view->window() : nullptr;
}

bool WebDialogPage::scriptBox(Box kind, const QString& message) {
    if (dialogsBlocked_) {
        return false;
    }
    ++boxesShown_;
    QMessageBox box(kind == Box::Confirm ? QMessageBox::Question : QMessageBox::Information,
                    kProductName, shownText(message), QMessageBox::NoButton, dialogParent());
    box.setTextFormat(Qt::PlainText);
    box.addButton(QMessageBox::Ok)->setText(u"确定"_s);
    if (kind == Box::Confirm) {
        box.addButton(QMessageBox::Cancel)->setText(u"取消"_s);
    }
    box.setDefaultButton(QMessageBox::Ok);
    if (boxesShown_ >= kBoxOfferingBlock) {
        box.setCheckBox(new QCheckBox(kBlockChoice, &box));
    }
    // The page may go (its pane released) while the box waits.
    QPointer<WebDialogPage> self(this);
    box.exec();
    const bool accepted = box.clickedButton() == box.button(QMessageBox::Ok);
    if (!self.isNull() && box.checkBox() != nullptr && box.checkBox()->isChecked()) {
        dialogsBlocked_ = true;
    }
    return accepted;
}

void WebDialogPage::javaScriptAlert(const QUrl& /*securityOrigin*/, const QString& msg) {
    scriptBox(Box::Alert, msg);
}

bool WebDialogPage::javaScriptConfirm(const QUrl& /*securityOrigin*/, const QString& msg) {
    return scriptBox(Box::Confirm, msg);
}

bool WebDialogPage::javaScriptPrompt(const QUrl& /*securityOrigin*/, const QString& msg,
                                     const QString& defaultValue, QString* result) {
    if (dialogsBlocked_) {
        return false;
    }
    ++boxesShown_;
    QDialog dialog(dialogParent());
    dialog.setWindowTitle(kProductName);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(messageLabel(msg, &dialog));
    auto* field = new QLineEdit(&dialog);
    // A page's default answer is kept whole, however long.
    field->setMaxLength(std::max<int>(field->maxLength(), static_cast<int>(defaultValue.size())));
    field->setText(defaultValue);
    field->selectAll();
    layout->addWidget(field);
    QCheckBox* block = nullptr;
    if (boxesShown_ >= kBoxOfferingBlock) {
        block = new QCheckBox(kBlockChoice, &dialog);
        layout->addWidget(block);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    nameButtons(buttons);
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    dialog.resize(std::max(dialog.sizeHint().width(), 420), dialog.sizeHint().height());

    QPointer<WebDialogPage> self(this);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    if (self.isNull()) {
        return false;
    }
    if (block != nullptr && block->isChecked()) {
        dialogsBlocked_ = true;
    }
    if (accepted) {
        *result = field->text();
    }
    return accepted;
}

QStringList WebDialogPage::chooseFiles(FileSelectionMode mode, const QStringList& oldFiles,
                                       const QStringList& acceptedMimeTypes) {
    QFileDialog dialog(dialogParent(), u"选择文件"_s);
    // Qt's own dialog speaks Tivora's language; the system's would speak the system's.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(mode == FileSelectOpenMultiple ? QFileDialog::ExistingFiles
                                                      : QFileDialog::ExistingFile);
    QStringList filters;
    const QStringList patterns = namePatterns(acceptedMimeTypes);
    if (!patterns.isEmpty()) {
        filters << u"可选文件 (%1)"_s.arg(patterns.join(u' '));
    }
    filters << u"所有文件 (*)"_s;
    dialog.setNameFilters(filters);
    if (!oldFiles.isEmpty()) {
        dialog.selectFile(oldFiles.constFirst());
    }
    if (dialog.exec() != QDialog::Accepted) {
        return {};
    }
    return dialog.selectedFiles();
}

void WebDialogPage::signIn(const QUrl& address, QAuthenticator* authenticator,
                           const QString& host) {
    // One sign-in at a time, and none again for a host the user turned away: a page that asks on
    // every request cannot pile boxes up. Leaving the authenticator empty refuses.
    if (signInShown || dialogsBlocked_ || refusedSignIns_.contains(host) || recentlyRefused(host)) {
        *authenticator = QAuthenticator();
        return;
    }
    signInShown = true;
    QDialog dialog(dialogParent());
    dialog.setWindowTitle(kProductName);
    auto* layout = new QVBoxLayout(&dialog);
    const QString realm = authenticator->realm();
    layout->addWidget(
        messageLabel(realm.isEmpty() ? u"%1 要求登录。"_s.arg(host)
                                     : u"%1 要求登录，该网站提示：%2"_s.arg(host, realm.left(200)),
                     &dialog));
    auto* form = new QFormLayout;
    auto* user = new QLineEdit(&dialog);
    auto* password = new QLineEdit(&dialog);
    password->setEchoMode(QLineEdit::Password);
    form->addRow(u"用户名："_s, user);
    form->addRow(u"密码："_s, password);
    layout->addLayout(form);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    nameButtons(buttons);
    buttons->button(QDialogButtonBox::Ok)->setText(u"登录"_s);
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);

    QPointer<WebDialogPage> self(this);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    signInShown = false;
    if (self.isNull()) {
        return;  // the request went with its page
    }
    if (!accepted) {
        refusedSignIns_.insert(host);
        refusedHosts.insert(host, QDeadlineTimer(kRefusalMemory));
        *authenticator = QAuthenticator();
        qCInfo(lcBrowser).noquote() << u"sign-in refused for "_s + address.toDisplayString();
        return;
    }
    authenticator->setUser(user->text());
    authenticator->setPassword(password->text());
}

void WebDialogPage::onCertificateError(const QWebEngineCertificateError& error) {
    qCWarning(lcBrowser).noquote()
        << u"certificate refused for "_s + error.url().toDisplayString() << error.description();
    auto refused = error;
    refused.rejectCertificate();
}

}  // namespace tivora
