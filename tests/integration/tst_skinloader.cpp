// The program's binding to the skin library on disk, and windows loading without it.
#include "app/Forms.h"
#include "app/MainWindow.h"
#include "desktop/SkinLoader.h"
#include "forms/Control.h"
#include "support/FakeServices.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTest>

using namespace Qt::StringLiterals;

namespace tivora {
namespace {

const QString kBin = QStringLiteral(TIVORA_BIN_DIR);

// Fake services whose skin goes through the real loader.
class SkinnedServices final : public test::FakeServices {
public:
    explicit SkinnedServices(const QString& folder)
        : loader(folder + u"/SkinH_pelm"_s,
                 [this](const QString& message) { warnings << message; }) {
        programFolderPath = folder;
    }
    void attachSkin(const QString& skinFile, const QString& password) override {
        FakeServices::attachSkin(skinFile, password);
        loader.attach(skinFile, password);
    }
    SkinLoader loader;
    QStringList warnings;
};

}  // namespace

class TestSkinLoader final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { qApp->setStyleSheet(QString()); }

    void libraryIsLoadedAtFirstAttachAndStyleReachesWidgets() {
        SkinnedServices services(kBin);
        QVERIFY(!services.loader.isLibraryLoaded());
        Forms forms(services, AppConfig{.portalRoot = u"http://vod.example.com"_s});
        forms.form(FormId::Main).show();
        QVERIFY(services.loader.isLibraryLoaded());
        QVERIFY(services.warnings.isEmpty());
        QVERIFY(qApp->styleSheet().contains(u"TivoraForm"_s));
        // The shipped skin colours the background of a window without art of its own.
        forms.form(FormId::Update).show();
        const QImage face = forms.form(FormId::Update).window()->grab().toImage();
        QCOMPARE(face.pixelColor(2, 2), QColor(u"#f3f7fc"_s));
        // A control's own text colour outlasts the skin: the search box's prompt stays grey.
        auto* search = forms.form(FormId::Main).window()->findChild<QLineEdit*>(u"Text1"_s);
        QVERIFY(search);
        QVERIFY(!search->text().isEmpty());
        // Its darkest text pixel is a neutral grey no darker than the prompt colour, not the
        // skin's.
        const QImage box = search->grab().toImage();
        QColor darkest(Qt::white);
        for (int y = 0; y < box.height(); ++y) {
            for (int x = 0; x < box.width(); ++x) {
                if (box.pixelColor(x, y).lightness() < darkest.lightness()) {
                    darkest = box.pixelColor(x, y);
                }
            }
        }
        QVERIFY2(darkest.red() == darkest.green() && darkest.green() == darkest.blue() &&
                     darkest.red() >= 0x80 && darkest.red() < 0xc0,
                 qPrintable(darkest.name()));
    }

    void missingPiecesLeaveWindowsUnskinnedWithOneWarning_data() {
        QTest::addColumn<bool>("withLibrary");
        QTest::addColumn<bool>("withSkinFile");
        QTest::newRow("no library") << false << true;
        QTest::newRow("no skin file") << true << false;
    }

    void missingPiecesLeaveWindowsUnskinnedWithOneWarning() {
        QFETCH(bool, withLibrary);
        QFETCH(bool, withSkinFile);
        QTemporaryDir folder;
        if (withLibrary) {
            for (const QString& name : QDir(kBin).entryList({u"*SkinH_pelm*"_s})) {
                QVERIFY(QFile::copy(kBin + u'/' + name, folder.filePath(name)));
            }
        }
        if (withSkinFile) {
            QVERIFY(QFile::copy(kBin + u"/skinh.she"_s, folder.filePath(u"skinh.she"_s)));
        }
        SkinnedServices services(folder.path());
        Forms forms(services, AppConfig{.portalRoot = u"http://vod.example.com"_s});
        Form& main = forms.form(FormId::Main);
        main.show();

        QCOMPARE(services.warnings.size(), 1);  // two windows attached, one warning
        QVERIFY(qApp->styleSheet().isEmpty());
        QVERIFY(services.messages.isEmpty());
        // The load went on to its end.
        QCOMPARE(services.pane(u"WebBrowser1"_s, u"Tivora"_s)->locationURL(),
                 u"http://vod.example.com/ty_00.html"_s);
        QCOMPARE(main.control(u"Picture3"_s).height(), 345.0F);
    }
};

}  // namespace tivora

QTEST_MAIN(tivora::TestSkinLoader)
#include "tst_skinloader.moc"
