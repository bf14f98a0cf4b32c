#pragma once

#include <QString>

#include <optional>

namespace tivora {

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

private:
    QString file_;
};

}  // namespace tivora
