#pragma once

#include "ProgramPort.h"

#include <QApplication>

#include <memory>

class TAppState;

// The workbench's application object. It owns the workbench's state (its
// paths, settings records and reusable dialogs) and is the top-level error
// handler: an error that leaves an event handler is shown in an error box
// and the event loop goes on. It owns the serial port (SerialPort()), which
// ends with it.
class TKorvidApplication : public QApplication {
    Q_OBJECT

public:
    TKorvidApplication(int &argc, char **argv);
    ~TKorvidApplication() override;

    TAppState &State()
    {
        return *m_state;
    }

    bool notify(QObject *receiver, QEvent *event) override;

private:
    TProgramPort m_port; // SerialPort(); it outlives everything that uses it
    std::unique_ptr<TAppState> m_state;
};
