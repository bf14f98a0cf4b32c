#include "forms/FileDialog.h"

#include <QFileInfo>
#include <QStringList>

using namespace Qt::StringLiterals;

namespace tivora {

FileDialog::~FileDialog() = default;

void FileDialog::setChosenFile(const QString& path) {
    fileName_ = path;
    fileTitle_ = QFileInfo(path).fileName();
}

void FileDialog::reportChosenFile(const QString& path) {
    setChosenFile(path);
    if (onChosen_) {
        onChosen_();
    }
}

QString toQtNameFilters(const QString& filter) {
    const QStringList parts = filter.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts.at(i + 1);
        patterns.replace(u';', u' ');
        filters << parts.at(i) + u" ("_s + patterns + u')';
    }
    return filters.join(u";;"_s);
}

QString caselessNameFilters(const QString& qtFilters) {
    QStringList result;
    for (const QString& entry : qtFilters.split(u";;"_s, Qt::SkipEmptyParts)) {
        const qsizetype open = entry.lastIndexOf(u'(');
        if (open < 0) {
            result << entry;
            continue;
        }
        QString patterns;
        for (const QChar c : QStringView(entry).mid(open)) {
            const QChar lower = c.toLower();
            const QChar upper = c.toUpper();
            if (lower != upper) {
                patterns += u'[' + lower + upper + u']';
            } else {
                patterns += c;
            }
        }
        result << entry.left(open) + patterns;
    }
    return result.join(u";;"_s);
}

}  // namespace tivora
