#include "FileDialog.h"

#include <QFileInfo>
#include <QStringList>

using namespace Qt::StringLiterals;

namespace tivora {

FileDialog::~FileDialog() = default;

void FileDialog::setChosenFile(const QString& path) {
    fileName_ = path;
    fileTitle_ = QFileInfo(path).fileName();
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

}  // namespace tivora
