// Portal address forms and the selected film read from the content pane's address.
#include "portal/PortalAddresses.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace tivora::portal {

class TestPortalAddresses final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void selectedFilm_data() {
        QTest::addColumn<QString>("address");
        QTest::addColumn<bool>("selected");
        QTest::addColumn<QString>("filmId");
        const QString b = u"http://vod.example.com"_s;
        QTest::newRow("blank page") << u"about:blank"_s << false << QString();
        QTest::newRow("live page") << b + u"/tv"_s << false << QString();
        QTest::newRow("marker in capitals") << b + u"/VRTATA.asp?id=1"_s << false << QString();
        QTest::newRow("cut at first &") << b + u"/vrtata.asp?id=1234&page=2"_s << true << u"1234"_s;
        QTest::newRow("no & runs to the end") << b + u"/vrtata.asp?id=1234"_s << true << u"1234"_s;
        QTest::newRow("fragment cut") << b + u"/vrtata.asp?id=1001#rel"_s << true << u"1001"_s;
        QTest::newRow("fragment before &")
            << b + u"/vrtata.asp?id=1001#rel&x=1"_s << true << u"1001"_s;
        QTest::newRow("no = gives the whole address")
            << b + u"/vrtata/1234"_s << true << b + u"/vrtata/1234"_s;
        QTest::newRow("no = cut at &") << b + u"/vrtata/1234&x"_s << true << b + u"/vrtata/1234"_s;
        QTest::newRow("& before =")
            << b + u"/vrtata.asp?x&id=5"_s << true << b + u"/vrtata.asp?x"_s;
        QTest::newRow("second = stays in the id")
            << b + u"/vrtata.asp?id=a=b"_s << true << u"a=b"_s;
        QTest::newRow("ends after =") << b + u"/vrtata.asp?id="_s << true << QString();
        QTest::newRow("& right after =") << b + u"/vrtata.asp?id=&p=1"_s << true << QString();
        QTest::newRow("marker behind the first &")
            << b + u"/film.asp?id=77&from=vrtata"_s << true << u"77"_s;
        QTest::newRow("first = in the host part")
            << u"http://a.example.com/x=y/vrtata.asp?id=9"_s << true << u"y/vrtata.asp?id=9"_s;
    }

    void selectedFilm() {
        QFETCH(QString, address);
        QFETCH(bool, selected);
        QFETCH(QString, filmId);
        const std::optional<QString> id = selectedFilmId(address);
        QCOMPARE(id.has_value(), selected);
        if (selected) {
            QCOMPARE(*id, filmId);
        }
    }

    void playingTest_data() {
        QTest::addColumn<QString>("address");
        QTest::addColumn<bool>("playing");
        QTest::newRow("blank") << u"about:blank"_s << false;
        QTest::newRow("play page") << u"http://v.example.com/play/?12-0-0.html"_s << true;
        QTest::newRow("capitals") << u"http://v.example.com/PLAY/?12-0-0.html"_s << false;
        QTest::newRow("empty") << QString() << false;
    }

    void playingTest() {
        QFETCH(QString, address);
        QFETCH(bool, playing);
        QCOMPARE(isPlaying(address), playing);
    }

    void addressForms_data() {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("expected");
        const QString b = u"http://vod.example.com"_s;
        QTest::newRow("film list") << filmListAddress(b) << b + u"/ty_00.html"_s;
        QTest::newRow("favourites") << favouritesAddress(b) << b + u"/scj.asp"_s;
        QTest::newRow("clear favourites") << clearFavouritesAddress(b) << b + u"/scj.asp?dl=dl"_s;
        QTest::newRow("play") << playAddress(b, u"1234"_s) << b + u"/play/?1234-0-0.html"_s;
        QTest::newRow("play, empty id") << playAddress(b, QString()) << b + u"/play/?-0-0.html"_s;
        QTest::newRow("recently played") << recentlyPlayedAddress(b) << b + u"/vrzjbf.asp"_s;
        QTest::newRow("live tv") << liveTvAddress(b) << b + u"/tv"_s;
        QTest::newRow("search, latin")
            << searchAddress(b, u"Lily"_s) << b + u"/search2010.asp?searchword=Lily"_s;
        QTest::newRow("search, chinese as utf-8")
            << searchAddress(b, u"星空"_s)
            << b + u"/search2010.asp?searchword=%E6%98%9F%E7%A9%BA"_s;
        QTest::newRow("search, reserved characters")
            << searchAddress(b, u"a&b=c#d+e%f g"_s)
            << b + u"/search2010.asp?searchword=a%26b%3Dc%23d%2Be%25f%20g"_s;
        QTest::newRow("search, two spaces")
            << searchAddress(b, u"  "_s) << b + u"/search2010.asp?searchword=%20%20"_s;
        QTest::newRow("add favourite")
            << addFavouriteAddress(b, u"1234"_s, u"星空 & 大海"_s)
            << b + u"/scj.asp?scid=1234&scna=%E6%98%9F%E7%A9%BA%20%26%20%E5%A4%A7%E6%B5%B7"_s;
        QTest::newRow("search, chinese as GBK") << searchAddress(b, u"星空"_s, QueryEncoding::Gbk)
                                                << b + u"/search2010.asp?searchword=%D0%C7%BF%D5"_s;
        QTest::newRow("search, beyond GBK as UTF-8")
            << searchAddress(b, u"🎬"_s, QueryEncoding::Gbk)
            << b + u"/search2010.asp?searchword=%F0%9F%8E%AC"_s;
        QTest::newRow("add favourite as GBK")
            << addFavouriteAddress(b, u"1234"_s, u"星空 & 大海"_s, QueryEncoding::Gbk)
            << b + u"/scj.asp?scid=1234&scna=%D0%C7%BF%D5%20%26%20%B4%F3%BA%A3"_s;
        QTest::newRow("add favourite, untitled")
            << addFavouriteAddress(b, u"7"_s, QString()) << b + u"/scj.asp?scid=7&scna="_s;
    }

    void addressForms() {
        QFETCH(QString, address);
        QFETCH(QString, expected);
        QCOMPARE(address, expected);
    }

    void anyKeywordStaysInsideItsQueryValue_data() {
        QTest::addColumn<QString>("keyword");
        QTest::newRow("control characters") << u"a\nb\tc\u0001"_s;
        QTest::newRow("emoji") << u"电影🎬"_s;
        QTest::newRow("very long") << QString(10000, u'&');
        QTest::newRow("empty") << QString();
    }

    void anyKeywordStaysInsideItsQueryValue() {
        QFETCH(QString, keyword);
        const QString address = searchAddress(u"http://v.example.com"_s, keyword);
        const QString value = address.section(u"searchword="_s, 1);
        for (const QChar c : value) {
            QVERIFY2(c.isLetterOrNumber() || QStringView(u"%-._~").contains(c),
                     qPrintable(address.left(80)));
        }
        QCOMPARE(QString::fromUtf8(QByteArray::fromPercentEncoding(value.toLatin1())), keyword);
    }
};

}  // namespace tivora::portal

QTEST_GUILESS_MAIN(tivora::portal::TestPortalAddresses)
#include "tst_portaladdresses.moc"
