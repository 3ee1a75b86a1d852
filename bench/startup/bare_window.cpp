// The yardstick of bench_startup: a bare Qt Widgets program with one empty window of the given
// size. "--hidden" creates the window without showing it. Closing the window hides it; the
// program runs until it is ended by a signal.
#include <QApplication>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: bench_bare_window WIDTH HEIGHT [--hidden]\n");
        return 2;
    }
    QApplication::setQuitOnLastWindowClosed(false);
    QWidget window;
    window.setFixedSize(std::atoi(argv[1]), std::atoi(argv[2]));
    if (argc < 4 || std::strcmp(argv[3], "--hidden") != 0) {
        window.show();
    }
    return QApplication::exec();
}
