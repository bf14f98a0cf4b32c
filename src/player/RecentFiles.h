#pragma once

#include <QString>
#include <QStringList>

namespace tivora {

// The files played last, newest first, kept in the user's data folder across runs. A store that
// cannot be read is set aside (as .bad) rather than overwritten; one that cannot be written
// keeps the list for this run only.
class RecentFiles final {
public:
    static constexpr int kMaxFiles = 10;

    // file empty: recent.json in the per-user application data folder.
    explicit RecentFiles(QString file = {});

    [[nodiscard]] const QStringList& files() const { return files_; }
    // Puts path first; false when the store could not be written.
    bool add(const QString& path);
    bool clear();

    [[nodiscard]] const QString& file() const { return file_; }

private:
    [[nodiscard]] bool save() const;

    QString file_;
    QStringList files_;
};

}  // namespace tivora
