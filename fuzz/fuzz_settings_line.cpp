#include "fuzz/FuzzCheck.h"
#include "player/LocalFiles.h"
#include "player/SettingsLine.h"

#include <cstddef>
#include <cstdint>

using namespace tivora;

// Every line the player writes reads back to the same prefix and folder, and no bytes at all
// crash the reader.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    static_cast<void>(settings::decode(bytes));

    // The input names a file: title, then the folder it lies in after a NUL.
    const qsizetype split = bytes.indexOf('\0');
    const QString title = QString::fromUtf8(split < 0 ? bytes : bytes.left(split));
    if (title.contains(u'/')) {
        return 0;  // a file name holds no separator
    }
    const QString path =
        u'/' + (split < 0 ? QString() : QString::fromUtf8(bytes.mid(split + 1))) + u'/' + title;
    const settings::SettingsLine written{localfiles::namePrefix(title),
                                         localfiles::folderOfFile(path)};
    if (!settings::canHold(written)) {
        return 0;
    }
    const auto read = settings::decode(settings::encode(written));
    FUZZ_REQUIRE(read.has_value());
    FUZZ_REQUIRE(read->prefix == written.prefix);
    FUZZ_REQUIRE(read->folder == written.folder);
    return 0;
}
