#include "CallStackView.h"

#include <QFileInfo>
#include <QHeaderView>

namespace {

constexpr int kFileRole = Qt::UserRole;
constexpr int kLineRole = Qt::UserRole + 1;

} // namespace

TCallStackView::TCallStackView(QWidget *parent)
    : QTreeWidget(parent)
{
    setObjectName("CallStackView");
    setColumnCount(2);
    setHeaderLabels({tr("Frame"), tr("Line")});
    setRootIsDecorated(false);
    header()->setStretchLastSection(true);
    connect(this, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem *item, int) {
        if (OpenLine)
            OpenLine(item->data(0, kFileRole).toString(), item->data(0, kLineRole).toInt());
    });
}

void TCallStackView::SetFrames(const QList<TDebugSession::TFrame> &frames)
{
    clear();
    for (const TDebugSession::TFrame &frame : frames) {
        auto *item = new QTreeWidgetItem(this);
        item->setText(0, frame.name);
        item->setText(1, QStringLiteral("%1(%2)").arg(QFileInfo(frame.file).fileName()).arg(frame.line));
        item->setToolTip(1, frame.file);
        item->setData(0, kFileRole, frame.file);
        item->setData(0, kLineRole, frame.line);
    }
    resizeColumnToContents(0);
}
