#include "CompileStop.h"

#include "CompilerRunner.h"
#include "MainForm.h"

#include <QAction>
#include <QKeyEvent>
#include <QWidget>

namespace {

const char kStopHint[] = "Stop compiling (Esc)";

class TEscapeStopsCompile : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape &&
            CompilerRunning()) {
            StopCompiler();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

void RunCompileCommand(TMainWindow &window, const QString &sender)
{
    if (CompilerRunning() && sender == QLatin1String("CompileBtn"))
        StopCompiler();
    else
        window.CompileMenuClick();
}

void StopCompileOnEscape(QWidget *list)
{
    list->installEventFilter(new TEscapeStopsCompile(list));
}

TCompileStopHint::TCompileStopHint(QAction *button)
    : m_button(button)
    , m_hint(button->toolTip())
{
    button->setToolTip(QString::fromLatin1(kStopHint));
}

TCompileStopHint::~TCompileStopHint()
{
    if (m_button)
        m_button->setToolTip(m_hint);
}
