#pragma once

#include <QCoreApplication>
#include <QWidget>

class QLabel;
class QTimer;

// The start-up picture: borderless, on top of all windows, centred on the
// screen. Three seconds after its creation it fades out and destroys itself.
// The fade is a timer of its own, one step a millisecond, so it never runs
// an event loop inside another: the program may end, or a dialog close, in
// the middle of it.
class TSplashScreen : public QWidget {
    Q_OBJECT

public:
    static constexpr int DesignWidth = 359;
    static constexpr int DesignHeight = 235;
    static constexpr int ShowTime = 3000;

    // programFile is the program whose version the splash shows.
    explicit TSplashScreen(QWidget *parent = nullptr,
                           const QString &programFile = QCoreApplication::applicationFilePath());

    int Opacity() const
    {
        return FOpacity;
    }

    QLabel *SplashImage;
    QLabel *VersionLabel;
    QLabel *WebLabel;
    QTimer *Timer1;

private:
    void Timer1Timer();
    void FadeStep();
    void SetOpacity(int opacity);

    int FOpacity = 255;
    QTimer *m_fadeTimer;
};
