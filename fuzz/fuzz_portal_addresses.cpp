#include "fuzz/FuzzCheck.h"
#include "portal/PortalAddresses.h"

#include <QByteArray>
#include <QStringDecoder>
#include <QUrl>

#include <cstddef>
#include <cstdint>

using namespace tivora::portal;

namespace {

const QString kBase = QStringLiteral("http://127.0.0.1:8080");

// Only unreserved characters and escapes may reach the wire.
bool isWireSafe(const QString& value) {
    for (const QChar c : value) {
        const char16_t u = c.unicode();
        const bool unreserved = (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') ||
                                (u >= '0' && u <= '9') || u == '-' || u == '.' || u == '_' ||
                                u == '~' || u == '%';
        if (!unreserved) {
            return false;
        }
    }
    return true;
}

void checkQuery(const QString& address, const QString& key, const QString& typed,
                QueryEncoding encoding) {
    const qsizetype at = address.indexOf(key);
    FUZZ_REQUIRE(at >= 0);
    const QString value = address.mid(at + key.size());
    FUZZ_REQUIRE(isWireSafe(value));
    const QByteArray bytes = QByteArray::fromPercentEncoding(value.toLatin1());
    if (encoding == QueryEncoding::Utf8) {
        FUZZ_REQUIRE(QString::fromUtf8(bytes) == typed);
    } else {
        // GBK when it holds the text, UTF-8 otherwise: either reads back as typed.
        QStringDecoder gbk("GBK");
        const QString asGbk = gbk.decode(bytes);
        FUZZ_REQUIRE(asGbk == typed || QString::fromUtf8(bytes) == typed);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    for (const auto encoding : {QueryEncoding::Utf8, QueryEncoding::Gbk}) {
        const QString search = searchAddress(kBase, text, encoding);
        FUZZ_REQUIRE(search.startsWith(kBase + QStringLiteral("/search2010.asp?")));
        checkQuery(search, QStringLiteral("searchword="), text, encoding);
        const QString add = addFavouriteAddress(kBase, QStringLiteral("1001"), text, encoding);
        checkQuery(add, QStringLiteral("&scna="), text, encoding);
    }

    // The selected film of any address: never a piece of the query after it or of a fragment.
    if (const auto id = selectedFilmId(text)) {
        FUZZ_REQUIRE(text.contains(QStringLiteral("vrtata")));
        FUZZ_REQUIRE(!id->contains(u'&') && !id->contains(u'#'));
        FUZZ_REQUIRE(text.contains(*id));
    }
    // A film page address made of a decimal id gives that id back, whatever follows it.
    const QString digits = QString::number(size % 1000000);
    const QString filmPage = kBase + QStringLiteral("/vrtata.asp?id=") + digits;
    FUZZ_REQUIRE(selectedFilmId(filmPage) == digits);
    FUZZ_REQUIRE(selectedFilmId(filmPage + u'&' + text) == digits);
    FUZZ_REQUIRE(selectedFilmId(filmPage + u'#' + text) == digits);
    static_cast<void>(isPlaying(text));
    return 0;
}
