// The main window driven through its handlers with fake services.
#include "app/FileRefusal.h"
#include "app/Forms.h"
#include "app/MainWindow.h"
#include "forms/Control.h"
#include "support/FakeServices.h"

#include <QLineEdit>
#include <QTest>

using namespace Qt::StringLiterals;
using tivora::test::FakeServices;

namespace tivora {
namespace {

const QString kRoot = u"http://vod.example.com"_s;

AppConfig config() {
    return AppConfig{.portalRoot = kRoot, .siteRoot = u"http://maker.example.com"_s};
}

}  // namespace

class TestMainWindow final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void loadShowsServerWindowFirstThenSetsUpPanes() {
        FakeServices services;
        Forms forms(services, config());
        QVERIFY(!forms.exists(FormId::ServerConnection));
        forms.form(FormId::Main).show();

        const QString skin = u"skin %1/skinh.she []"_s.arg(services.programFolder());
        const QStringList expected{
            skin,  // the server-connection window loads first
            u"navigate 服务器连接/WebBrowser2 %1/vrtj.html"_s.arg(kRoot),
            u"navigate 服务器连接/WebBrowser1 %1/vrpcs.asp"_s.arg(kRoot),
            skin,
            u"navigate Tivora/WebBrowser3 about:blank"_s,
            u"navigate Tivora/WebBrowser2 about:blank"_s,
            u"navigate Tivora/WebBrowser1 %1/ty_00.html"_s.arg(kRoot),
        };
        QCOMPARE(services.log, expected);
        QVERIFY(forms.form(FormId::ServerConnection).isVisible());
        QVERIFY(forms.form(FormId::Main).isVisible());
        // Neither window owns the other.
        QCOMPARE(forms.form(FormId::ServerConnection).window()->parentWidget(), nullptr);
        QCOMPARE(forms.form(FormId::Main).window()->parentWidget(), nullptr);
        QCOMPARE(forms.mainWindow().portalBaseUrl(), kRoot);
    }

    void closingServerWindowLeavesMainWindow() {
        FakeServices services;
        Forms forms(services, config());
        forms.form(FormId::Main).show();
        forms.form(FormId::ServerConnection).window()->close();
        QVERIFY(!forms.form(FormId::ServerConnection).isLoaded());
        QVERIFY(forms.form(FormId::Main).isVisible());
        QCOMPARE(services.endedWith, -1);
    }

    void controlsStartAsDesigned_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("visible");
        for (const char* name :
             {"Frameright", "Picture1", "WebBrowser1", "Picture2", "Text1", "Image11", "Image5",
              "Image4", "Image6", "Image8", "Image3", "Image10", "Image2", "Image28", "Image27",
              "Image20", "Label1", "Image12", "Image1"}) {
            QTest::newRow(name) << QString::fromLatin1(name) << true;
        }
        for (const char* name :
             {"Picture3", "Frameleft", "Framenr", "Image7", "Image9", "Image18", "Image21",
              "Image22", "Image23", "Image24", "Image25", "Image26"}) {
            QTest::newRow(name) << QString::fromLatin1(name) << false;
        }
    }

    void controlsStartAsDesigned() {
        QFETCH(QString, name);
        QFETCH(bool, visible);
        FakeServices services;
        Forms forms(services, config());
        Form& form = forms.form(FormId::Main);
        form.show();
        QCOMPARE(form.control(name).visible(), visible);
        QCOMPARE(form.control(name).widget()->isVisible(),
                 visible && form.control(name).widget()->parentWidget()->isVisible());
    }

    void windowFaceAfterLoad() {
        FakeServices services;
        Forms forms(services, config());
        Form& form = forms.form(FormId::Main);
        form.load();  // design client size until the first show lays it out
        QCOMPARE(form.caption(), u"Tivora"_s);
        QCOMPARE(form.window()->size(), QSize(859, 568));
        form.show();
        QCOMPARE(form.window()->frameGeometry().size(), QSize(867, 600));
        const auto* search = qobject_cast<QLineEdit*>(form.control(u"Text1"_s).widget());
        QCOMPARE(search->text(), u"请输入影片名或演员名"_s);
        QCOMPARE(search->palette().color(QPalette::Text), QColor(0x80, 0x80, 0x80));
        // Content pane hidden over the welcome picture; full-window pane over everything but the
        // bar.
        const QObjectList top = form.window()->children();
        const auto index = [&](const QString& name) {
            return top.indexOf(form.control(name).widget());
        };
        QVERIFY(index(u"Picture3"_s) > index(u"Frameleft"_s));
        QVERIFY(index(u"Frameleft"_s) > index(u"Framenr"_s));
        QVERIFY(index(u"Framenr"_s) > index(u"Frameright"_s));
        QVERIFY(index(u"Frameright"_s) > index(u"Picture1"_s));
    }

    void welcomePictureShowsNoCaptionTextBeforeAnyHover() {
        FakeServices services;
        Forms forms(services, config());
        Form& form = forms.form(FormId::Main);
        form.show();
        const Control& label = form.control(u"Label1"_s);
        QVERIFY(label.visible());
        QCOMPARE(label.caption(), QString());
        // The backdrop looks the same with the label taken away: it draws nothing.
        QWidget* backdrop = form.control(u"Picture1"_s).widget();
        const QRect area = label.widget()->geometry().adjusted(-8, -8, 8, 8);
        const QImage withLabel = backdrop->grab(area).toImage();
        label.widget()->hide();
        QCOMPARE(backdrop->grab(area).toImage(), withLabel);
        // A text shows once a caption is set, so the comparison can tell.
        label.widget()->show();
        form.control(u"Label1"_s).setCaption(u"开始播放"_s);
        QVERIFY(backdrop->grab(area).toImage() != withLabel);
    }

    void refusedFileIsToldInAMessageBox_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("prompt");  // none: no box
        QTest::newRow("missing") << QStringList{u"/no/such/影片.rmvb"_s}
                                 << u"找不到要播放的文件：\n/no/such/影片.rmvb"_s;
        QTest::newRow("a folder") << QStringList{u"/"_s} << u"无法读取要播放的文件：\n/"_s;
        QTest::newRow("a bad option") << QStringList{u"--frobnicate"_s} << QString();
        QTest::newRow("an address") << QStringList{u"http://a.example.com/x.rm"_s} << QString();
    }

    void refusedFileIsToldInAMessageBox() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, prompt);
        const CommandLine commandLine =
            parseCommandLine(QStringList{u"tivora"_s} + arguments, builtInConfig());
        QCOMPARE(commandLine.action, CommandLine::Action::Error);
        FakeServices services;
        tellFileRefusal(services, commandLine);
        if (prompt.isEmpty()) {
            QVERIFY(services.messages.isEmpty());
            return;
        }
        QCOMPARE(services.messages.size(), 1);
        QCOMPARE(services.messages.front().prompt, prompt);
        QCOMPARE(services.messages.front().style, MsgBox::OkOnly + MsgBox::Exclamation);
        QCOMPARE(services.messages.front().title, u"Tivora"_s);
    }

    void paneOnItsErrorPageReloadsWhenTheServerAnswers() {
        FakeServices services;
        Forms forms(services, config());
        forms.form(FormId::Main).show();
        auto& list = *services.pane(u"WebBrowser1"_s, u"Tivora"_s);
        auto& content = *services.pane(u"WebBrowser3"_s, u"Tivora"_s);
        auto& check = *services.pane(u"WebBrowser1"_s, u"服务器连接"_s);
        list.complete(u"refused"_s, false);  // the film list could not be loaded
        content.complete(u"<html></html>"_s);
        // The check fails too, and the retry is taken: nothing reloads yet.
        services.answers = {MsgBox::AnswerYes};
        check.complete(u"refused"_s, false);
        QCOMPARE(list.refreshCount(), 0);
        // The retry reaches the portal.
        check.complete(u"qor v10"_s);
        QCOMPARE(list.refreshCount(), 1);
        QCOMPARE(content.refreshCount(), 0);  // a page that came stays as it is
    }

    void controlBarTakesItsBackgroundsHeightAtLoad() {
        FakeServices services;
        Forms forms(services, config());
        Form& form = forms.form(FormId::Main);
        form.show();
        QCOMPARE(form.control(u"Picture3"_s).height(), 345.0F);
        QCOMPARE(form.control(u"Picture3"_s).widget()->height(), 23);
    }

    void exitQuestion_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("ends");
        QTest::newRow("yes ends the program") << int(MsgBox::AnswerYes) << true;
        QTest::newRow("no keeps everything") << int(MsgBox::AnswerNo) << false;
    }

    void exitQuestion() {
        QFETCH(int, answer);
        QFETCH(bool, ends);
        FakeServices services;
        Forms forms(services, config());
        Form& form = forms.form(FormId::Main);
        form.show();
        const qsizetype navigations = services.log.size();

        services.answers = {answer};
        form.window()->close();

        QCOMPARE(services.messages.size(), 1);
        QCOMPARE(services.messages.front().prompt, u"确定退出Tivora"_s);
        QCOMPARE(services.messages.front().style, 68);
        QCOMPARE(services.messages.front().title, u"提示"_s);
        QCOMPARE(services.endedWith, ends ? 0 : -1);
        if (!ends) {
            QVERIFY(form.isVisible());
            QCOMPARE(services.log.size() - 1, navigations);  // only the question was added
            QCOMPARE(services.pane(u"WebBrowser1"_s, u"Tivora"_s)->locationURL(),
                     kRoot + u"/ty_00.html"_s);
        }
    }

    void failingLoadStepReportsAndKeepsEarlierSteps() {
        FakeServices services;
        services.failingAddress = kRoot + u"/ty_00.html"_s;
        Forms forms(services, config());
        Form& form = forms.form(FormId::Main);
        form.show();
        QCOMPARE(services.messages.size(), 1);
        QCOMPARE(services.messages.front().prompt, u"程序发生意外错误，本次操作未完成。"_s);
        QVERIFY(form.isVisible());
        QCOMPARE(services.pane(u"WebBrowser2"_s, u"Tivora"_s)->locationURL(), u"about:blank"_s);
        QCOMPARE(form.control(u"Picture3"_s).height(), 375.0F);  // the step after the failure
    }
};

}  // namespace tivora

QTEST_MAIN(tivora::TestMainWindow)
#include "tst_mainwindow.moc"
