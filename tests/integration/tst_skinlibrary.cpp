#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLibrary>
#include <QPushButton>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

#include "skin/SkinH.h"

#ifndef TIVORA_BIN_DIR
#error "TIVORA_BIN_DIR must name the folder that holds the skin library"
#endif

using namespace Qt::StringLiterals;

namespace {

// A string as the program passes it: bytes in the ANSI code page (GBK outside Windows).
QByteArray ansi(const QString& text) {
#ifdef Q_OS_WIN
    return text.toLocal8Bit();
#else
    QStringEncoder gbk("GBK");
    return gbk.encode(text);
#endif
}

QColor centre(QWidget& widget) {
    const QImage image = widget.grab().toImage();
    return image.pixelColor(image.rect().center());
}

// Counts the repolishes a widget goes through.
class StyleChanges : public QObject {
public:
    int count = 0;
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        count += event->type() == QEvent::StyleChange ? 1 : 0;
        return false;
    }
};

}  // namespace

class TestSkinLibrary : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() {
        library_.setFileName(QDir(QStringLiteral(TIVORA_BIN_DIR)).filePath(u"SkinH_pelm"_s));
        attachEx_ = reinterpret_cast<SkinH_AttachExFn>(library_.resolve("SkinH_AttachEx"));
        QVERIFY2(attachEx_ != nullptr, qPrintable(library_.errorString()));
        shipped_ = ansi(QDir(QStringLiteral(TIVORA_BIN_DIR)).filePath(u"skinh.she"_s));
        QVERIFY(tmp_.isValid());
        QVERIFY(QDir(tmp_.path()).mkdir(u"皮肤"_s));
        qApp->setStyleSheet(QString());
    }

    void appliesShippedSkin() {
        QPushButton button;  // no text, so its centre shows the background
        button.resize(80, 30);
        const QColor before = centre(button);
        QCOMPARE(attachEx_(shipped_.constData(), ""), SKINH_OK);
        QVERIFY(!qApp->styleSheet().isEmpty());
        const QColor after = centre(button);
        QVERIFY2(after != before, qPrintable(after.name()));
        QVERIFY2(after.blue() > after.red() + 60, qPrintable(after.name()));  // deep blue
    }

    void repeatedCallIsHarmless() {
        QPushButton button;
        button.show();
        StyleChanges changes;
        button.installEventFilter(&changes);
        const QString sheet = qApp->styleSheet();
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(attachEx_(shipped_.constData(), nullptr), SKINH_OK);
        }
        QCOMPARE(changes.count, 0);
        QCOMPARE(qApp->styleSheet(), sheet);
        qApp->setStyleSheet(QString());  // someone else replaced it: the next call restores it
        QCOMPARE(attachEx_(shipped_.constData(), nullptr), SKINH_OK);
        QCOMPARE(qApp->styleSheet(), sheet);
        QCOMPARE(attachEx_(nullptr, nullptr), SKINH_ERR_READ);
    }

    void attach_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("header");  // null: no file at all
        QTest::addColumn<QString>("body");    // null: a valid rule naming the row
        QTest::addColumn<QString>("password");
        QTest::addColumn<int>("result");

        const QString plain = u"TivoraSkin 1\nName: 测试\n\n"_s;
        const QString locked = u"TivoraSkin 1\nName: x\nPassword: 秘密\n\n"_s;
        const QString none;
        auto row = [](const char* tag, const QString& folder, const QString& header,
                      const QString& body, const QString& password, int result) {
            QTest::newRow(tag) << folder << header << body << password << result;
        };
        row("plain", none, plain, none, none, SKINH_OK);
        row("crlf", none, u"TivoraSkin 1\r\nName: x\r\n\r\n"_s, none, none, SKINH_OK);
        row("chinese folder", u"皮肤"_s, plain, none, none, SKINH_OK);
        row("missing file", none, none, none, none, SKINH_ERR_READ);
        row("no header", none, u""_s, none, none, SKINH_ERR_HEADER);
        row("other version", none, u"TivoraSkin 2\nName: x\n\n"_s, none, none, SKINH_ERR_HEADER);
        row("no name", none, u"TivoraSkin 1\nAuthor: x\n\n"_s, none, none, SKINH_ERR_HEADER);
        row("header not ended", none, u"TivoraSkin 1\nName: x\n"_s, none, none, SKINH_ERR_HEADER);
        row("empty body", none, plain, u" \n"_s, none, SKINH_ERR_STYLE);
        row("unbalanced", none, plain, u"QMenu { color: red;\n"_s, none, SKINH_ERR_STYLE);
        row("password matches", none, locked, none, u"秘密"_s, SKINH_OK);
        row("password wrong", none, locked, none, u"wrong"_s, SKINH_ERR_PASSWORD);
        row("password empty", none, locked, none, none, SKINH_OK);
        row("no password header", none, plain, none, u"any"_s, SKINH_OK);
    }

    void attach() {
        QFETCH(QString, folder);
        QFETCH(QString, header);
        QFETCH(QString, body);
        QFETCH(QString, password);
        QFETCH(int, result);

        static int serial = 0;  // a new file each row, so no row reuses another's file
        const QString path = QDir(tmp_.path()).filePath(folder + u"/skin%1.she"_s.arg(++serial));
        if (body.isNull()) {
            body = u"QToolTip { border: 1px solid #123456; } /* %1 */\n"_s.arg(
                QString::fromUtf8(QTest::currentDataTag()));
        }
        if (!header.isNull()) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write((header + body).toUtf8());
        }
        const QString before = qApp->styleSheet();
        QCOMPARE(attachEx_(ansi(path).constData(), ansi(password).constData()), result);
        QCOMPARE(qApp->styleSheet(), result == SKINH_OK ? body : before);
    }

private:
    QLibrary library_;
    SkinH_AttachExFn attachEx_ = nullptr;
    QByteArray shipped_;
    QTemporaryDir tmp_;
};

QTEST_MAIN(TestSkinLibrary)
#include "tst_skinlibrary.moc"
