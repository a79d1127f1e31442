// The yardstick for start-up: a bare Qt Widgets program with one window, reporting when its
// event loop is idle exactly as the program does.
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget w;
    w.resize(600, 516);
    w.show();
    QTimer::singleShot(0, &app, [] {
        std::printf("ready\n");
        std::fflush(stdout);
        QCoreApplication::quit();
    });
    return app.exec();
}
