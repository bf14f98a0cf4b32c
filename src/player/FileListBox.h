#pragma once

#include <QListWidget>
#include <QString>

namespace tivora {

// The names of the files of one folder that match a wildcard pattern, sorted without regard to
// case. Folders, hidden files and the folder itself are never listed.
class FileListBox final : public QListWidget {
    Q_OBJECT

public:
    // Starts on the process's current folder with every name.
    explicit FileListBox(QWidget* parent);

    [[nodiscard]] QString path() const { return path_; }
    // A folder that does not exist lists nothing.
    void setPath(const QString& folder);
    [[nodiscard]] QString pattern() const { return pattern_; }
    void setPattern(const QString& pattern);

    [[nodiscard]] int listCount() const { return count(); }
    // The selected row; -1 when there is none.
    [[nodiscard]] int listIndex() const;
    // The name of that row; empty outside the list.
    [[nodiscard]] QString list(int row) const;

    // Reads the folder again.
    void refresh();

Q_SIGNALS:
    // A row was chosen, by mouse or keyboard, or clicked again.
    void rowClicked();
    void rowDoubleClicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    // The press went to the row already chosen, so its release is a click of its own.
    bool reclick_ = false;
    QString path_;
    QString pattern_;
};

}  // namespace tivora
