#include "app/AppConfig.h"

#include "app/BuildConfig.h"
#include "forms/LocalPath.h"
#include "portal/ClientVersion.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QSet>
#include <QUrl>

#include <optional>

using namespace Qt::StringLiterals;

namespace tivora {
namespace {

// Qt's window-system options, with and without a value; QApplication takes them.
const QSet<QString> kQtOptionsWithValue{u"-platform"_s,      u"-platformpluginpath"_s,
                                        u"-platformtheme"_s, u"-plugin"_s,
                                        u"-display"_s,       u"-style"_s,
                                        u"-stylesheet"_s,    u"-qwindowgeometry"_s,
                                        u"-qwindowtitle"_s,  u"-qwindowicon"_s,
                                        u"-session"_s,       u"-geometry"_s,
                                        u"-title"_s,         u"-name"_s};
const QSet<QString> kQtFlags{u"-reverse"_s, u"-nograb"_s, u"-dograb"_s, u"-sync"_s,
                             u"-widgetcount"_s};

QStringList withoutQtOptions(const QStringList& arguments) {
    QStringList ours;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (i > 0 && kQtOptionsWithValue.contains(argument)) {
            ++i;
        } else if (i == 0 || !kQtFlags.contains(argument)) {
            ours << argument;
        }
    }
    return ours;
}

// Qt names the program after argv[0], or a placeholder before the application exists.
QString withProgramName(QString help) {
    const qsizetype options = help.indexOf(u" [options]"_s);
    if (options >= 0 && options < help.indexOf(u'\n')) {
        help.replace(0, options, u"Usage: tivora"_s);
    }
    return help;
}

std::optional<portal::QueryEncoding> encodingNamed(const QString& name) {
    if (name.compare(u"utf-8"_s, Qt::CaseInsensitive) == 0) {
        return portal::QueryEncoding::Utf8;
    }
    if (name.compare(u"gbk"_s, Qt::CaseInsensitive) == 0) {
        return portal::QueryEncoding::Gbk;
    }
    return std::nullopt;
}

}  // namespace

AppConfig builtInConfig() {
    return AppConfig{
        .portalRoot = QString::fromUtf16(build::kPortalRoot),
        .siteRoot = QString::fromUtf16(build::kSiteRoot),
        .adminQQ = QString::fromUtf16(build::kAdminQQ),
        .groupQQ1 = QString::fromUtf16(build::kGroupQQ1),
        .groupQQ2 = QString::fromUtf16(build::kGroupQQ2),
        .portalEncoding = encodingNamed(QString::fromUtf16(build::kPortalEncoding))
                              .value_or(portal::QueryEncoding::Utf8),
    };
}

QString normalizedRoot(const QString& address, QString* error) {
    const QUrl url(address, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || (scheme != u"http"_s && scheme != u"https"_s) || url.host().isEmpty() ||
        url.hasQuery() || url.hasFragment()) {
        if (error != nullptr) {
            *error = u"not an absolute http(s) address: "_s + address;
        }
        return {};
    }
    QString root = address;
    while (root.endsWith(u'/')) {
        root.chop(1);
    }
    return root;
}

CommandLine parseCommandLine(const QStringList& arguments, const AppConfig& builtIn) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        u"Tivora: desktop client for a film-on-demand portal.\n"
        "Without a portal root it starts its own demo portal on this computer."_s);
    const QCommandLineOption portalRoot(u"portal-root"_s,
                                        u"Portal server root, e.g. http://example.com"_s, u"URL"_s);
    const QCommandLineOption siteRoot(u"site-root"_s, u"Maker's web site root (help pages)"_s,
                                      u"URL"_s);
    const QCommandLineOption newInstance(
        u"new-instance"_s,
        u"Run as a program of its own, even when Tivora already runs for this user (a later "
        "start otherwise hands its FILE to the running program and ends)"_s);
    const QCommandLineOption portalEncoding(
        u"portal-encoding"_s,
        u"How search keywords and film names go to the portal: utf-8 (the default) or gbk"_s,
        u"ENCODING"_s);
    parser.addOption(portalRoot);
    parser.addOption(siteRoot);
    parser.addOption(portalEncoding);
    parser.addOption(newInstance);
    parser.addPositionalArgument(u"FILE"_s, u"A video file to play in the local player"_s,
                                 u"[FILE]"_s);
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();

    CommandLine result;
    result.config = builtIn;
    if (!parser.parse(withoutQtOptions(arguments))) {
        result.action = CommandLine::Action::Error;
        result.message = parser.errorText();
        return result;
    }
    if (parser.isSet(help)) {
        result.action = CommandLine::Action::Help;
        result.message = withProgramName(parser.helpText());
        return result;
    }
    if (parser.isSet(version)) {
        result.action = CommandLine::Action::Version;
        result.message = u"Tivora "_s + QString::fromUtf16(client::kVersion);
        return result;
    }
    result.newInstance = parser.isSet(newInstance);
    const QStringList positional = parser.positionalArguments();
    // One local file may be named; addresses and further arguments are not Tivora's.
    if (positional.size() > 1 ||
        (positional.size() == 1 && positional.front().contains(u"://"_s))) {
        result.action = CommandLine::Action::Error;
        result.message = u"unexpected argument: "_s + positional.constLast();
        return result;
    }
    if (positional.size() == 1) {
        const QFileInfo file(positional.front());
        if (localpath::kindOf(positional.front()) == localpath::Kind::Missing) {
            result.action = CommandLine::Action::Error;
            result.message = u"no such file: "_s + positional.front();
            return result;
        }
        result.config.openFile = file.absoluteFilePath();
    }
    const auto takeRoot = [&](const QCommandLineOption& option, QString& target, const char* name) {
        const QString value = parser.isSet(option) ? parser.value(option) : target;
        if (value.isEmpty()) {
            return true;
        }
        QString error;
        target = normalizedRoot(value, &error);
        if (target.isEmpty()) {
            result.action = CommandLine::Action::Error;
            result.message = QString::fromLatin1(name) + u": "_s + error;
            return false;
        }
        return true;
    };
    if (!takeRoot(portalRoot, result.config.portalRoot, "--portal-root") ||
        !takeRoot(siteRoot, result.config.siteRoot, "--site-root")) {
        return result;
    }
    if (parser.isSet(portalEncoding)) {
        const auto encoding = encodingNamed(parser.value(portalEncoding));
        if (!encoding) {
            result.action = CommandLine::Action::Error;
            result.message =
                u"--portal-encoding: utf-8 or gbk, not "_s + parser.value(portalEncoding);
            return result;
        }
        result.config.portalEncoding = *encoding;
    }
    return result;
}

}  // namespace tivora
