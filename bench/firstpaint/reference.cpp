// The bare reference for bench/firstpaint.sh: a Qt Widgets window of the main window's size, titled
// as given, showing a few lines of Chinese text.  reference TITLE
#include <QApplication>
#include <QLabel>
#include <QVBoxLayout>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments();
    QWidget window;
    window.setWindowTitle(arguments.size() > 1 ? arguments.at(1) : QStringLiteral("reference"));
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(new QLabel(QStringLiteral("电影列表"), &window));
    layout->addWidget(new QLabel(
        QStringLiteral("长河落日 · 星港迷踪 · 江南烟雨 · 铁拳擂台 · 月光邮差"), &window));
    layout->addWidget(new QLabel(QStringLiteral("请输入影片名或演员名"), &window));
    window.resize(859, 568);
    window.show();
    return QApplication::exec();
}
