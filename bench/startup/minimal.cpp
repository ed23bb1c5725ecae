// The yardstick: the least a Qt 6 editor window can be.
#include <QApplication>
#include <QMainWindow>
#include <QPlainTextEdit>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Minimal"));
    window.setCentralWidget(new QPlainTextEdit);
    window.resize(640, 480);
    window.show();
    return app.exec();
}
