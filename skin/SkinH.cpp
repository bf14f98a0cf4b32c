#include "skin/SkinH.h"

#include <QApplication>
#include <QByteArray>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QStringDecoder>
#include <QStringView>
#include <QThread>

namespace {

constexpr QStringView kMagic = u"TivoraSkin 1";

// Decodes a byte string given in the system's ANSI code page.
QString fromAnsi(const char* bytes) {
    if (bytes == nullptr) {
        return {};
    }
#ifdef Q_OS_WIN
    return QString::fromLocal8Bit(bytes);
#else
    QStringDecoder gbk("GBK");
    if (!gbk.isValid()) {  // Qt built without a GBK codec
        return QString::fromLocal8Bit(bytes);
    }
    return gbk.decode(QByteArrayView(bytes));
#endif
}

// Finds the skin file as given (relative to the working folder), else beside the program.
QString locate(const QString& name) {
    if (name.isEmpty()) {
        return {};
    }
    const QFileInfo given(name);
    if (given.isFile()) {
        return given.absoluteFilePath();
    }
    if (given.isRelative()) {
        const QFileInfo beside(QDir(QCoreApplication::applicationDirPath()), name);
        if (beside.isFile()) {
            return beside.absoluteFilePath();
        }
    }
    return {};
}

struct Skin {
    QString name;
    QString password;
    bool hasPassword = false;
    QString sheet;
};

// Splits the file into its header fields and the style sheet body.
int parse(const QByteArray& bytes, Skin& skin) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(bytes);
    if (utf8.hasError()) {
        return SKINH_ERR_HEADER;
    }

    qsizetype pos = 0;
    QStringView line;
    const auto nextLine = [&text, &pos, &line] {
        if (pos >= text.size()) {
            return false;
        }
        qsizetype end = text.indexOf(u'\n', pos);
        if (end < 0) {
            end = text.size();
        }
        line = QStringView(text).mid(pos, end - pos);
        if (line.endsWith(u'\r')) {
            line.chop(1);
        }
        pos = end + 1;
        return true;
    };

    if (!nextLine() || line != kMagic) {
        return SKINH_ERR_HEADER;
    }
    bool headerEnded = false;
    while (!headerEnded && nextLine()) {
        if (line.trimmed().isEmpty()) {
            headerEnded = true;
            continue;
        }
        const qsizetype colon = line.indexOf(u':');
        if (colon <= 0) {
            return SKINH_ERR_HEADER;
        }
        const QStringView key = line.left(colon).trimmed();
        const QString value = line.mid(colon + 1).trimmed().toString();
        if (key.compare(u"Name", Qt::CaseInsensitive) == 0) {
            skin.name = value;
        } else if (key.compare(u"Password", Qt::CaseInsensitive) == 0) {
            skin.password = value;
            skin.hasPassword = true;
        }  // other keys are informational
    }
    if (!headerEnded || skin.name.isEmpty()) {
        return SKINH_ERR_HEADER;
    }
    skin.sheet = pos < text.size() ? text.mid(pos) : QString();
    return SKINH_OK;
}

// Catches sheets Qt would silently drop: no rule at all, unbalanced braces, unclosed comments or
// strings. Qt has no public parser, so this is a structural check only.
bool wellFormed(QStringView sheet) {
    int depth = 0;
    bool hasRule = false;
    for (qsizetype i = 0; i < sheet.size(); ++i) {
        const QChar c = sheet[i];
        if (c == u'/' && sheet.mid(i + 1).startsWith(u'*')) {
            const qsizetype end = sheet.indexOf(u"*/", i + 2);
            if (end < 0) {
                return false;
            }
            i = end + 1;
        } else if (c == u'"' || c == u'\'') {
            for (++i; i < sheet.size() && sheet[i] != c; ++i) {
                if (sheet[i] == u'\\') {
                    ++i;
                }
            }
            if (i >= sheet.size()) {
                return false;
            }
        } else if (c == u'{') {
            ++depth;
            hasRule = true;
        } else if (c == u'}' && --depth < 0) {
            return false;
        }
    }
    return hasRule && depth == 0;
}

// What was applied last, so the call made for every window costs one stat() when nothing changed.
struct Applied {
    QString path;
    QString password;
    qint64 size = -1;
    QDateTime modified;
    QString sheet;
};

Applied& lastApplied() {
    static Applied applied;
    return applied;
}

}  // namespace

int SKINH_CALL SkinH_AttachEx(const char* skinFile, const char* password) {
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr ||
        QThread::currentThread() != qApp->thread()) {
        return SKINH_ERR_NO_APPLICATION;
    }
    const QString path = locate(fromAnsi(skinFile));
    if (path.isEmpty()) {
        return SKINH_ERR_READ;
    }
    const QString pass = fromAnsi(password);
    const QFileInfo info(path);
    Applied& last = lastApplied();
    if (path == last.path && pass == last.password && info.size() == last.size &&
        info.lastModified() == last.modified && qApp->styleSheet() == last.sheet) {
        return SKINH_OK;
    }

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return SKINH_ERR_READ;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        return SKINH_ERR_READ;
    }
    Skin skin;
    if (const int result = parse(bytes, skin); result != SKINH_OK) {
        return result;
    }
    if (!pass.isEmpty() && skin.hasPassword && pass != skin.password) {
        return SKINH_ERR_PASSWORD;
    }
    if (!wellFormed(skin.sheet)) {
        return SKINH_ERR_STYLE;
    }
    // Setting a sheet repolishes every widget, so an identical one is never set again.
    if (qApp->styleSheet() != skin.sheet) {
        qApp->setStyleSheet(skin.sheet);
    }
    last = Applied{path, pass, info.size(), info.lastModified(), skin.sheet};
    return SKINH_OK;
}
