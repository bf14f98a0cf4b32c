#pragma once

#include <QString>

namespace tivora::localfiles {

// The first two characters of a file name (fewer for a shorter name). A character outside the
// basic plane counts as one, so a surrogate pair is never split.
[[nodiscard]] QString namePrefix(const QString& fileTitle);

// The list pattern for a name prefix: names holding the prefix and, after it, "rm".
[[nodiscard]] QString listPattern(const QString& prefix);

// The list pattern after a file was chosen: for RealMedia (or a name of no video type) the
// pattern above; for any other video the names holding the prefix among every video type the dialog
// offers.
[[nodiscard]] QString listPatternFor(const QString& prefix, const QString& fileName);

// The open dialog's filter: RealMedia first, then every video type, then every file.
[[nodiscard]] QString dialogFilter();

// The folder of a file: its path up to and including the last separator; empty without one.
[[nodiscard]] QString folderOfFile(const QString& path);

// Whether name matches pattern: "*" any run, "?" one character, everything else literal and
// compared without regard to case; several patterns may be joined by ";".
[[nodiscard]] bool matchesPattern(const QString& pattern, const QString& name);

// Whether a file name names a video by its extension (any case): RealMedia and the common others.
[[nodiscard]] bool isVideoFileName(const QString& name);

}  // namespace tivora::localfiles
