#include "ConfirmReplace.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

namespace {

QPushButton *MakeButton(QDialog *dialog, const QString &caption, int result, int left)
{
    auto *button = new QPushButton(caption, dialog);
    button->setGeometry(left, 60, 75, 25);
    QObject::connect(button, &QPushButton::clicked, dialog, [dialog, result] { dialog->done(result); });
    return button;
}

} // namespace

TConfirmReplaceDialog::TConfirmReplaceDialog(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint)
{
    setWindowTitle(QStringLiteral("Confirm replace"));
    setFixedSize(328, 91);
    Image = new QLabel(this);
    Image->setGeometry(8, 8, 32, 32);
    Image->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion).pixmap(32, 32));
    lblConfirmation = new QLabel(this);
    lblConfirmation->setGeometry(56, 8, 261, 42);
    lblConfirmation->setWordWrap(true);
    lblConfirmation->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Created in tab order; placed left to right as Yes, Yes to all, No, Cancel.
    btnReplace = MakeButton(this, QStringLiteral("&Yes"), mrYes, 8);
    btnSkip = MakeButton(this, QStringLiteral("&No"), mrNo, 166);
    btnCancel = MakeButton(this, QStringLiteral("Cancel"), mrCancel, 245);
    btnReplaceAll = MakeButton(this, QStringLiteral("Yes to &all"), mrYesToAll, 87);
    btnReplace->setDefault(true);
    btnReplace->setFocus();
}

TConfirmReplaceDialog::~TConfirmReplaceDialog() = default;

void TConfirmReplaceDialog::PrepareShow(const QRect &editorRect, int x, int top, int bottom, const QString &searchText)
{
    lblConfirmation->setText(QStringLiteral("Replace this occurence of \"%1\"?").arg(searchText));
    const int w = width();
    const int h = height();
    int left = 0;
    if (editorRect.width() <= w) {
        left = editorRect.left() - (w - editorRect.width()) / 2;
    } else {
        left = x;
        const int right = editorRect.left() + editorRect.width();
        if (left + w > right)
            left = right - w;
    }
    const int limit = editorRect.top() + 2 * editorRect.height() / 3;
    const int newTop = bottom > limit ? top - h - 4 : bottom + 4;
    move(left, newTop);
}
