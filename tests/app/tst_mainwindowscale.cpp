// The main window on a screen of device pixel ratio 2 (run with QT_SCALE_FACTOR=2): every control
// lies where the same window at ratio 1 puts it, twice as large, and pictures are drawn sharp.
#include "app/MainWindow.h"
#include "forms/ControlWidgets.h"
#include "support/TestWindows.h"

#include <QApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTest>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace tivora {
namespace {

const char* const kDumpArgument = "--dump-device-rects";

// Each named control's rectangle in the window, in device pixels.
QJsonObject deviceRects() {
    test::TestWindows windows(AppConfig{.portalRoot = u"http://vod.example.com"_s});
    Form& form = windows.forms.form(FormId::Main);
    form.show();
    QWidget* window = form.window();
    const qreal ratio = window->devicePixelRatioF();
    QJsonObject rects;
    rects.insert(u"(window)"_s,
                 QJsonArray{0, 0, window->width() * ratio, window->height() * ratio});
    for (const QWidget* child : window->findChildren<QWidget*>()) {
        if (child->objectName().isEmpty() || child->objectName().startsWith(u"qt_"_s)) {
            continue;
        }
        const QRect r(child->mapTo(window, QPoint(0, 0)), child->size());
        rects.insert(child->objectName(), QJsonArray{r.x() * ratio, r.y() * ratio,
                                                     r.width() * ratio, r.height() * ratio});
    }
    return rects;
}

}  // namespace

class TestMainWindowScale final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void controlsLieAtTwiceTheirPlaceAtRatioOne() {
        QCOMPARE(qApp->devicePixelRatio(), 2.0);
        QProcess one;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"QT_SCALE_FACTOR"_s, u"1"_s);
        one.setProcessEnvironment(environment);
        one.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(kDumpArgument)});
        QVERIFY(one.waitForFinished(60000));
        QCOMPARE(one.exitCode(), 0);
        const QJsonObject atOne = QJsonDocument::fromJson(one.readAllStandardOutput()).object();
        const QJsonObject atTwo = deviceRects();
        QVERIFY(atOne.size() > 20);
        QCOMPARE(atTwo.keys(), atOne.keys());
        for (const QString& name : atOne.keys()) {
            const QJsonArray a = atOne.value(name).toArray();
            const QJsonArray b = atTwo.value(name).toArray();
            for (int i = 0; i < 4; ++i) {
                QVERIFY2(
                    qAbs(a.at(i).toDouble() * 2 - b.at(i).toDouble()) <= 1,
                    qPrintable(u"%1: %2 at ratio 1, %3 at ratio 2"_s.arg(
                        name, QString::fromUtf8(QJsonDocument(a).toJson(QJsonDocument::Compact)),
                        QString::fromUtf8(QJsonDocument(b).toJson(QJsonDocument::Compact)))));
            }
        }
    }

    void picturesAreDrawnAtTheDeviceResolution() {
        test::TestWindows windows(AppConfig{.portalRoot = u"http://vod.example.com"_s});
        Form& form = windows.forms.form(FormId::Main);
        form.show();
        int pictures = 0;
        for (const ClickableLabel* label : form.window()->findChildren<ClickableLabel*>()) {
            if (label->picture().isNull()) {
                continue;
            }
            ++pictures;
            QCOMPARE(label->picture().devicePixelRatio(), 2.0);
            QCOMPARE(label->picture().deviceIndependentSize().toSize() * 2,
                     label->picture().size());
        }
        QVERIFY(pictures > 5);
        // The grabbed window holds twice the pixels in each direction.
        const QPixmap face = form.window()->grab();
        QCOMPARE(face.size(), form.window()->size() * 2);
    }
};

}  // namespace tivora

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc > 1 && qstrcmp(argv[1], tivora::kDumpArgument) == 0) {
        std::fputs(QJsonDocument(tivora::deviceRects()).toJson().constData(), stdout);
        return 0;
    }
    tivora::TestMainWindowScale test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_mainwindowscale.moc"
