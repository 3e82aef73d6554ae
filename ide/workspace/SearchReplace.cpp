#include "SearchReplace.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QCoreApplication>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

namespace {

constexpr int kClientWidth = 300;
constexpr int kMargin = 8;
constexpr int kBoxWidth = kClientWidth - 2 * kMargin;

QComboBox *MakeHistoryBox(QWidget *parent, int top)
{
    auto *box = new QComboBox(parent);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setMaxCount(TSearchDlg::kHistorySize);
    box->completer()->setCaseSensitivity(Qt::CaseSensitive);
    box->setGeometry(kMargin, top, kBoxWidth, 22);
    return box;
}

QCheckBox *MakeOption(QGroupBox *group, const QString &caption, int row)
{
    auto *box = new QCheckBox(caption, group);
    box->setGeometry(10, 20 + row * 20, kBoxWidth - 20, 18);
    return box;
}

QStringList ItemsOf(const QComboBox *box)
{
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items.append(box->itemText(i));
    return items;
}

void SetItems(QComboBox *box, const QStringList &items)
{
    const QString text = box->currentText();
    box->clear();
    box->addItems(items.mid(0, TSearchDlg::kHistorySize));
    box->setCurrentText(text);
}

} // namespace

TSearchDlg::TSearchDlg(QWidget *parent)
    : QDialog(parent, Qt::Tool)
{
    SearchLabel = new QLabel(QStringLiteral("&Search for:"), this);
    SearchLabel->setGeometry(kMargin, 8, kBoxWidth, 16);
    SearchTextBox = MakeHistoryBox(this, 24);
    SearchLabel->setBuddy(SearchTextBox);
    ReplaceLabel = new QLabel(QStringLiteral("&Replace with:"), this);
    ReplaceLabel->setGeometry(kMargin, 52, kBoxWidth, 16);
    ReplaceTextBox = MakeHistoryBox(this, 68);
    ReplaceLabel->setBuddy(ReplaceTextBox);
    SearchOptions = new QGroupBox(QStringLiteral(" &Options "), this);
    cbSearchCaseSensitive = MakeOption(SearchOptions, QStringLiteral("C&ase sensitive"), 0);
    cbSearchWholeWords = MakeOption(SearchOptions, QStringLiteral("&Whole words only"), 1);
    cbSearchFromCursor = MakeOption(SearchOptions, QStringLiteral("Search from &caret"), 2);
    cbSearchSelectedOnly = MakeOption(SearchOptions, QStringLiteral("Search &selected text only"), 3);
    OKBtn = new QPushButton(QStringLiteral("OK"), this);
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton(QStringLiteral("Cancel"), this);
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    Layout(false);
}

// Options 10 pixels below the last text box, the buttons 10 pixels below the
// options; the height is the top of the search box plus the bottom of the
// buttons plus 5.
void TSearchDlg::Layout(bool replace)
{
    ReplaceLabel->setVisible(replace);
    ReplaceTextBox->setVisible(replace);
    setWindowTitle(replace ? QStringLiteral("Replace text") : QStringLiteral("Search text"));
    const QComboBox *last = replace ? ReplaceTextBox : SearchTextBox;
    SearchOptions->setGeometry(kMargin, last->geometry().bottom() + 1 + 10, kBoxWidth, 104);
    const int buttonTop = SearchOptions->geometry().bottom() + 1 + 10;
    OKBtn->setGeometry(kClientWidth - kMargin - 2 * 75 - 6, buttonTop, 75, 25);
    CancelBtn->setGeometry(kClientWidth - kMargin - 75, buttonTop, 75, 25);
    setFixedSize(kClientWidth, SearchTextBox->y() + OKBtn->geometry().bottom() + 1 + 5);
}

int TSearchDlg::ShowLayout(bool replace)
{
    Layout(replace);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    SearchTextBox->setFocus();
    SearchTextBox->lineEdit()->selectAll();
    return exec();
}

int TSearchDlg::ShowFind()
{
    return ShowLayout(false);
}

int TSearchDlg::ShowReplace()
{
    return ShowLayout(true);
}

void TSearchDlg::SetSearchText(const QString &text)
{
    SearchTextBox->setCurrentText(text);
}

QString TSearchDlg::SearchText() const
{
    return SearchTextBox->currentText();
}
QString TSearchDlg::ReplaceText() const
{
    return ReplaceTextBox->currentText();
}
bool TSearchDlg::CaseSensitive() const
{
    return cbSearchCaseSensitive->isChecked();
}
bool TSearchDlg::WholeWords() const
{
    return cbSearchWholeWords->isChecked();
}
bool TSearchDlg::SelectedOnly() const
{
    return cbSearchSelectedOnly->isChecked();
}
bool TSearchDlg::EntireScope() const
{
    return !cbSearchFromCursor->isChecked();
}

TSearchOptions TSearchDlg::Options() const
{
    TSearchOptions options;
    options.text = SearchText();
    options.replacement = ReplaceText();
    options.matchCase = CaseSensitive();
    options.wholeWords = WholeWords();
    options.selectedOnly = SelectedOnly();
    return options;
}

QStringList TSearchDlg::SearchHistory() const
{
    return ItemsOf(SearchTextBox);
}
QStringList TSearchDlg::ReplaceHistory() const
{
    return ItemsOf(ReplaceTextBox);
}
void TSearchDlg::SetSearchHistory(const QStringList &history)
{
    SetItems(SearchTextBox, history);
}
void TSearchDlg::SetReplaceHistory(const QStringList &history)
{
    SetItems(ReplaceTextBox, history);
}

void TSearchDlg::AddToHistory(QStringList &history, const QString &text)
{
    for (qsizetype i = 0; i < history.size(); ++i) {
        if (history[i].compare(text, Qt::CaseInsensitive) == 0) {
            history.removeAt(i);
            break;
        }
    }
    history.insert(0, text);
    while (history.size() > kHistorySize)
        history.removeLast();
}

void TSearchDlg::AddToHistory(QComboBox *box, const QString &text)
{
    QStringList items = ItemsOf(box);
    AddToHistory(items, text);
    box->clear();
    box->addItems(items);
    box->setCurrentText(text);
}

void TSearchDlg::done(int result)
{
    if (result == QDialog::Accepted) {
        if (!SearchText().isEmpty())
            AddToHistory(SearchTextBox, SearchText());
        if (!ReplaceText().isEmpty())
            AddToHistory(ReplaceTextBox, ReplaceText());
    }
    QDialog::done(result);
}
