#include "browser/ErrorPage.h"

#include <QUrl>
#include <QWebEngineLoadingInfo>

using namespace Qt::StringLiterals;

namespace tivora {

QString wrappableAddress(const QString& address) {
    // Each piece between break points is unbreakable on its own; <wbr> between them is the only
    // place a line may end. keep-all alone would still break after "-" or at a space.
    QString markup = u"<span>"_s;
    for (const QChar c : address) {
        markup += QString(c).toHtmlEscaped();
        if (c == u'/' || c == u'?' || c == u'&') {
            markup += u"</span><wbr><span>"_s;
        }
    }
    markup += u"</span>"_s;
    return markup;
}

QString errorPageHtml(const QString& headline, const QString& button, const QString& address) {
    // The address is shown decoded so that it reads as typed; both forms are escaped, so markup in
    // an address stays text. The button reads the address back from its attribute.
    const QString shown = QUrl::fromPercentEncoding(address.toUtf8());
    return u"<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>%1</title><style>"
           "body{font-family:'宋体',sans-serif;margin:24px 16px;color:#333;background:#fff}"
           "h1{font-size:20px}"
           "#address{color:#666;word-break:keep-all;overflow-wrap:normal;overflow-x:auto}"
           "#address span{white-space:pre}"
           "button{font-size:14px;padding:4px 20px}</style></head><body>"
           "<h1 id=\"headline\">%1</h1><p id=\"address\">%2</p>"
           "<button id=\"retry\" type=\"button\" data-address=\"%3\">%4</button>"
           "<script>document.getElementById('retry').addEventListener('click',"
           "function(){location.href=this.dataset.address;});</script>"
           "</body></html>"_s.arg(headline.toHtmlEscaped(), wrappableAddress(shown),
                                  address.toHtmlEscaped(), button.toHtmlEscaped());
}

QString unreachableHeadline(const QWebEngineLoadingInfo& info) {
    // Refused by default: Tivora has no place to let a user trust a certificate the system does
    // not.
    if (info.errorDomain() == QWebEngineLoadingInfo::CertificateErrorDomain) {
        return u"此网站的安全证书无效，已拒绝连接"_s;
    }
    return u"无法连接到服务器"_s;
}

}  // namespace tivora
