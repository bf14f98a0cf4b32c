#pragma once

#include <QString>

#include <functional>

namespace tivora {

// An open-file dialog with the properties the windows set and read.
class FileDialog {
public:
    FileDialog() = default;
    virtual ~FileDialog();
    Q_DISABLE_COPY_MOVE(FileDialog)

    void setInitDir(const QString& folder) { initDir_ = folder; }
    // Filter in "description|pattern;pattern" pairs joined by "|".
    void setFilter(const QString& filter) { filter_ = filter; }
    [[nodiscard]] QString initDir() const { return initDir_; }
    [[nodiscard]] QString filter() const { return filter_; }

    // Modal. A cancelled dialog leaves FileName and FileTitle as they were.
    virtual void showOpen() = 0;
    // Told as soon as a file is chosen, while the dialog is still closing, so that what the choice
    // starts need not wait for that; FileName is the choice by then. A dialog that cannot tell
    // earlier tells before showOpen returns.
    void setOnChosen(std::function<void()> onChosen) { onChosen_ = std::move(onChosen); }

    [[nodiscard]] QString fileName() const { return fileName_; }
    // A file chosen another way (dropped, named on the command line) counts as chosen here.
    void choose(const QString& path) { setChosenFile(path); }
    [[nodiscard]] QString fileTitle() const { return fileTitle_; }

protected:
    void setChosenFile(const QString& path);
    // The user's choice: kept, and told.
    void reportChosenFile(const QString& path);

private:
    QString initDir_;
    QString filter_;
    QString fileName_;
    QString fileTitle_;
    std::function<void()> onChosen_;
};

// "视频 (*.rm)|*.rm;*.rmvb" → "视频 (*.rm) (*.rm *.rmvb)", as Qt's file dialogs take it.
[[nodiscard]] QString toQtNameFilters(const QString& filter);

// The same filters matching without regard to case ("*.rm" → "*.[rR][mM]"), for file systems
// where Qt's dialog matches case-sensitively; descriptions are left as they are.
[[nodiscard]] QString caselessNameFilters(const QString& qtFilters);

}  // namespace tivora
