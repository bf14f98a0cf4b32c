// Qt's open dialog as a user drives it: a choice is told while the dialog is still up, once.
#include "desktop/QtFileDialog.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace tivora {

class TestQtFileDialog : public QObject {
    Q_OBJECT

private:
    // Types into the modal dialog once it is up: a name and Return, or Escape when name is empty.
    static void answer(const QString& name) {
        QTimer::singleShot(10, [name] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (dialog == nullptr) {
                answer(name);
                return;
            }
            if (name.isEmpty()) {
                QTest::keyClick(dialog, Qt::Key_Escape);
                return;
            }
            auto* edit = dialog->findChild<QLineEdit*>(u"fileNameEdit"_s);
            QVERIFY(edit != nullptr);
            edit->setText(name);
            QTest::keyClick(edit, Qt::Key_Return);
        });
    }

private Q_SLOTS:
    void choiceIsToldBeforeTheDialogCloses_data() {
        QTest::addColumn<bool>("chosen");
        QTest::addColumn<bool>("listening");
        QTest::newRow("chosen") << true << true;
        QTest::newRow("chosen, nobody listening") << true << false;
        QTest::newRow("cancelled") << false << true;
    }

    void choiceIsToldBeforeTheDialogCloses() {
        QFETCH(bool, chosen);
        QFETCH(bool, listening);
        QTemporaryDir folder;
        const QString film = folder.filePath(u"ab01.mp4"_s);
        const QString earlier = folder.filePath(u"earlier.mp4"_s);
        for (const QString& path : {film, earlier}) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        QWidget parent;
        parent.show();
        QtFileDialog dialog(&parent);
        dialog.choose(earlier);
        dialog.setInitDir(folder.path());
        dialog.setFilter(u"所有视频文件 (*.mp4)|*.mp4"_s);
        QStringList told;
        if (listening) {
            dialog.setOnChosen([&] {
                const QWidget* shown = QApplication::activeModalWidget();
                told << dialog.fileName() +
                            (shown != nullptr && shown->isVisible() ? u" (dialog up)"_s : u""_s);
            });
        }
        answer(chosen ? u"ab01.mp4"_s : QString());
        dialog.showOpen();
        QCOMPARE(dialog.fileName(), chosen ? film : earlier);
        QCOMPARE(dialog.fileTitle(), chosen ? u"ab01.mp4"_s : u"earlier.mp4"_s);
        QCOMPARE(told, chosen && listening ? QStringList{film + u" (dialog up)"_s} : QStringList{});
    }
};

}  // namespace tivora

QTEST_MAIN(tivora::TestQtFileDialog)
#include "tst_qtfiledialog.moc"
