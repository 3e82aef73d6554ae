#include "CompileStop.h"

#include "CompilerRunner.h"
#include "MainForm.h"

#include <QAction>
#include <QKeyEvent>
#include <QPointer>
#include <QWidget>

#include <memory>

namespace {

const char kStopHint[] = "Stop compiling (Esc)";

class TEscapeStopsCompile : public QObject {
public:
    TEscapeStopsCompile(TCompilerRunner &runner, QObject *parent)
        : QObject(parent)
        , m_runner(&runner)
    {
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape && m_runner &&
            m_runner->Running()) {
            m_runner->Stop();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QPointer<TCompilerRunner> m_runner;
};

} // namespace

void RunCompileCommand(TMainWindow &window, const QString &sender)
{
    if (window.Compiler().Running() && sender == QLatin1String("CompileBtn"))
        window.Compiler().Stop();
    else
        window.CompileMenuClick();
}

void WireCompileStop(TCompilerRunner &runner, QWidget *list, QAction *button)
{
    list->installEventFilter(new TEscapeStopsCompile(runner, list));
    const auto hint = std::make_shared<QString>(); // the button's own hint, kept while it says stop
    QObject::connect(&runner, &TCompilerRunner::Started, button, [button, hint] {
        *hint = button->toolTip();
        button->setToolTip(QString::fromLatin1(kStopHint));
    });
    QObject::connect(&runner, &TCompilerRunner::Finished, button, [button, hint] { button->setToolTip(*hint); });
}
