#pragma once

#include "ProgramPort.h"

#include <QApplication>

// The workbench's application object. It is the top-level error handler: an
// error that leaves an event handler is shown in an error box and the event
// loop goes on. It owns the serial port (SerialPort()), which ends with it.
class TKorvidApplication : public QApplication {
    Q_OBJECT

public:
    TKorvidApplication(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;

private:
    TProgramPort m_port;
};
