// A bare Qt Widgets window, ended as soon as it is shown and idle: the
// reference side of bench_start.
#include "IdleWait.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setCentralWidget(new QLabel(QStringLiteral("bare window")));
    window.resize(800, 600);
    window.show();
    WaitUntilIdle();
    EndAtIdle();
}
