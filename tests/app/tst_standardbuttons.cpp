// Qt's standard buttons speak Chinese whatever the system's locale (run under more than one LANG).
#include "app/Application.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

using namespace Qt::StringLiterals;

namespace tivora {

class TestStandardButtons final : public QObject {
    Q_OBJECT

    // The label without its keyboard mnemonic: "是(&Y)" reads 是.
    static QString label(const QAbstractButton* button) {
        static const QRegularExpression mnemonic(u"\\(&.\\)|&"_s);
        return QString(button->text()).remove(mnemonic);
    }

private Q_SLOTS:
    void initTestCase() { installTranslations(); }

    void standardButtonsAreChinese_data() {
        QTest::addColumn<QDialogButtonBox::StandardButton>("button");
        QTest::addColumn<QString>("text");
        QTest::newRow("yes") << QDialogButtonBox::Yes << u"是"_s;
        QTest::newRow("no") << QDialogButtonBox::No << u"否"_s;
        QTest::newRow("ok") << QDialogButtonBox::Ok << u"确定"_s;
        QTest::newRow("cancel") << QDialogButtonBox::Cancel << u"取消"_s;
    }

    void standardButtonsAreChinese() {
        QFETCH(QDialogButtonBox::StandardButton, button);
        QFETCH(QString, text);
        QDialogButtonBox buttons(button);
        QCOMPARE(label(buttons.button(button)), text);
        // The two enumerations share their values.
        const auto boxButton = static_cast<QMessageBox::StandardButton>(button);
        QMessageBox box(QMessageBox::Question, u"Tivora"_s, u"继续吗？"_s, boxButton);
        QCOMPARE(label(box.button(boxButton)), text);
    }
};

}  // namespace tivora

QTEST_MAIN(tivora::TestStandardButtons)
#include "tst_standardbuttons.moc"
