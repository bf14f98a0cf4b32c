#pragma once

#include <QList>
#include <QSet>
#include <QString>

#include <functional>
#include <optional>

namespace tivora {

struct ResumeEntry {
    QString path;
    double position = 0;
};

// Where each recently played file was left, so that opening it again goes on from there. Kept in
// the user's data folder for the last kMaxFiles files; a file played to its end is forgotten.
class ResumeStore final {
public:
    static constexpr int kMaxFiles = 200;
    // Closer to the end than this counts as played to the end.
    static constexpr double kEndMargin = 5;
    // Earlier than this is no position worth keeping.
    static constexpr double kLeastPosition = 3;

    // file empty: resume.json in the per-user application data folder.
    explicit ResumeStore(QString file = {});

    [[nodiscard]] std::optional<double> position(const QString& path) const;
    // Keeps where path was left; a position near the start or the end forgets it instead.
    void remember(const QString& path, double position, double duration) const;
    void forget(const QString& path) const;

    [[nodiscard]] const QString& file() const { return file_; }
    // The file read and written now: beside file() when that is a dangling link or no regular
    // file.
    [[nodiscard]] QString storeFile() const;

    // Told, in Chinese and once each, when the positions cannot be kept as the user expects.
    void setProblemReport(std::function<void(const QString&)> report);

private:
    void store(const QList<ResumeEntry>& entries) const;
    void reportOnce(const QString& problem, const QString& text) const;

    QString file_;
    std::function<void(const QString&)> report_;
    mutable QSet<QString> reported_;
};

}  // namespace tivora
