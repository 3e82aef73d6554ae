#include "Splash.h"

#include "BuiltInImage.h"
#include "DesignFont.h"
#include "FileVersion.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>

namespace {

constexpr int kFadeStart = 252;
constexpr int kFadeStep = 4;
constexpr int kFadeStepMs = 1;

QLabel *WhiteLabel(QWidget *parent, const QString &text, const QString &family, int pixels, bool bold)
{
    auto *label = new QLabel(text, parent);
    QFont font = DesignFont(family);
    font.setPixelSize(pixels);
    font.setBold(bold);
    label->setFont(font);
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(pal);
    label->setAttribute(Qt::WA_TranslucentBackground);
    return label;
}

} // namespace

TSplashScreen::TSplashScreen(QWidget *parent, const QString &programFile)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName("SplashScreen");
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(DesignWidth, DesignHeight);

    SplashImage = new QLabel(this);
    SplashImage->setObjectName("SplashImage");
    SplashImage->setGeometry(0, 0, DesignWidth, DesignHeight);
    SplashImage->setPixmap(QPixmap::fromImage(BuiltInImage("splash")));
    SplashImage->setScaledContents(true);

    const QString version = GetFileVersion(programFile, false);
    VersionLabel = WhiteLabel(this, "Korvid V" + version, "Arial Black", 24, true);
    VersionLabel->setObjectName("VersionLabel");
    VersionLabel->setGeometry(128, 178, 229, 33);
    WebLabel = WhiteLabel(this, "velmo.example", "Arial", 15, false);
    WebLabel->setObjectName("WebLabel");
    WebLabel->move(216, 210);
    WebLabel->adjustSize();

    if (QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");
    Timer1->setInterval(ShowTime);
    connect(Timer1, &QTimer::timeout, this, &TSplashScreen::Timer1Timer);
    Timer1->start();
    m_fadeTimer = new QTimer(this);
    m_fadeTimer->setInterval(kFadeStepMs);
    connect(m_fadeTimer, &QTimer::timeout, this, &TSplashScreen::FadeStep);
}

void TSplashScreen::SetOpacity(int opacity)
{
    FOpacity = opacity;
    // Platforms without a window system (tests) cannot fade.
    const QString platform = QGuiApplication::platformName();
    if (platform != QLatin1String("offscreen") && platform != QLatin1String("minimal"))
        setWindowOpacity(opacity / 255.0);
}

void TSplashScreen::Timer1Timer()
{
    Timer1->stop();
    SetOpacity(kFadeStart);
    FadeStep();
    m_fadeTimer->start();
}

void TSplashScreen::FadeStep()
{
    if (FOpacity <= 0) {
        m_fadeTimer->stop();
        close(); // and destroyed, being closed for good
        return;
    }
    SetOpacity(FOpacity - kFadeStep);
}
