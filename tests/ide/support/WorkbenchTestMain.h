#pragma once

// The main of a QtTest program that opens workbench windows: QTEST_MAIN with
// the workbench's own application object, which owns the serial port the
// windows use (SerialPort()).

#include "Application.h"

#include <QtTest>

#define WORKBENCH_TEST_MAIN(TestObject)                                                                                \
    int main(int argc, char *argv[])                                                                                   \
    {                                                                                                                  \
        TKorvidApplication app(argc, argv);                                                                            \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                                                       \
        TestObject test;                                                                                               \
        QTEST_SET_MAIN_SOURCE_PATH                                                                                     \
        return QTest::qExec(&test, argc, argv);                                                                        \
    }
