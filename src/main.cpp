#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Pelkora"));
    window.resize(699, 499);
    window.show();
    return app.exec();
}
