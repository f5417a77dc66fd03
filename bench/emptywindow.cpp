// sim-bench-floor: the least a Qt program does to put a window on screen, an
// empty window of the given size and nothing else. The benchmark times its
// first frame beside the settings host's, as the floor of a cold start.

#include <QApplication>
#include <QWidget>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments();
    bool widthOk = false;
    bool heightOk = false;
    const int width = arguments.value(1).toInt(&widthOk);
    const int height = arguments.value(2).toInt(&heightOk);
    if (arguments.size() != 3 || !widthOk || !heightOk || width <= 0 || height <= 0) {
        std::fprintf(stderr, "usage: sim-bench-floor WIDTH HEIGHT\n");
        return 2;
    }
    QWidget window;
    window.setFixedSize(width, height);
    window.show();
    return QApplication::exec();
}
