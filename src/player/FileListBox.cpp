#include "player/FileListBox.h"

#include "forms/LocalPath.h"
#include "player/LocalFiles.h"

#include <QDir>
#include <QMouseEvent>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace tivora {

FileListBox::FileListBox(QWidget* parent)
    : QListWidget(parent), path_(QDir::currentPath()), pattern_(u"*"_s) {
    // Keeps folders of many thousand files quick to list and scroll.
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // The selection, not the current row: focus alone makes a row current.
    connect(this, &QListWidget::itemSelectionChanged, this, [this] {
        if (listIndex() >= 0) {
            Q_EMIT rowClicked();
        }
    });
    connect(this, &QListWidget::itemDoubleClicked, this, [this] { Q_EMIT rowDoubleClicked(); });
    refresh();
}

void FileListBox::setPath(const QString& folder) {
    path_ = folder;
    refresh();
}

void FileListBox::setPattern(const QString& pattern) {
    pattern_ = pattern;
    refresh();
}

int FileListBox::listIndex() const {
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.first().row();
}

QString FileListBox::list(int row) const {
    const QListWidgetItem* entry = item(row);
    return entry != nullptr ? entry->text() : QString();
}

void FileListBox::refresh() {
    // By their bytes: a name that is not UTF-8 shows as GBK and opens again.
    QStringList names = localpath::fileNames(path_);
    names.removeIf(
        [this](const QString& name) { return !localfiles::matchesPattern(pattern_, name); });
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int folded = a.compare(b, Qt::CaseInsensitive);
        return folded != 0 ? folded < 0 : a < b;
    });
    // Rebuilding the rows must not count as the user choosing one.
    const QSignalBlocker quiet(this);
    clear();
    addItems(names);
}

void FileListBox::mousePressEvent(QMouseEvent* event) {
    const int before = listIndex();
    QListWidget::mousePressEvent(event);
    reclick_ = event->button() == Qt::LeftButton && before >= 0 && listIndex() == before &&
               itemAt(event->position().toPoint()) == item(before);
}

void FileListBox::mouseReleaseEvent(QMouseEvent* event) {
    QListWidget::mouseReleaseEvent(event);
    if (reclick_ && itemAt(event->position().toPoint()) == item(listIndex())) {
        Q_EMIT rowClicked();
    }
    reclick_ = false;
}

void FileListBox::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second press of a double-click is no click of its own.
    reclick_ = false;
    QListWidget::mouseDoubleClickEvent(event);
}

}  // namespace tivora
