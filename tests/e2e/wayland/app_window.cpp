// A window of an application named on the command line: its Wayland app id (and its X11
// WM_CLASS) is NAME. For the tests of profiles that follow the application in front.
// Usage: app_window NAME
#include <QApplication>
#include <QLabel>

#include <cstdio>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: app_window NAME\n");
        return 2;
    }
    const QString name = QString::fromLocal8Bit(argv[1]);
    QGuiApplication::setDesktopFileName(name);
    QLabel window(name);
    window.setWindowTitle(name);
    window.resize(240, 120);
    window.show();
    return application.exec();
}
