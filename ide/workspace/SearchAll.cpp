#include "SearchAll.h"

#include "ColorListBox.h"
#include "Errors.h"
#include "SearchReplace.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace {

const QStringList kFilters = {
    QStringLiteral("*.bas, *.inc, *.txt, *.log"),
    QStringLiteral("*.bas, *.inc, *.txt"),
    QStringLiteral("*.bas, *.inc"),
    QStringLiteral("*.bas"),
};

const QString kOpenFilesLine = QStringLiteral("Search in open files...");
const QString kCurrentFileLine = QStringLiteral("Search in current file...");
const QString kWorkDirLine = QStringLiteral("Search in working directory...");
const QString kCompletedLine = QStringLiteral("completed.");

constexpr int kClientWidth = 299;
constexpr int kClientHeight = 266;

QCheckBox *AddCheckBox(const QString &caption, QVBoxLayout *layout)
{
    auto *box = new QCheckBox(caption);
    layout->addWidget(box);
    return box;
}

} // namespace

TSearchAllDlg::TSearchAllDlg(QWidget *parent)
    : QDialog(parent, Qt::Tool)
{
    setWindowTitle(QStringLiteral("Search all..."));
    setSizeGripEnabled(true);
    CreateComponents();
    resize(kClientWidth, kClientHeight);
}

void TSearchAllDlg::ShareHistoryOf(TSearchDlg &find)
{
    GetHistory = [&find] { return find.SearchHistory(); };
    AddToHistory = [&find](const QString &text) {
        QStringList history = find.SearchHistory();
        TSearchDlg::AddToHistory(history, text);
        find.SetSearchHistory(history);
    };
}

void TSearchAllDlg::CreateComponents()
{
    SearchLabel = new QLabel(QStringLiteral("&Search all for:"));
    SearchTextBox = new QComboBox;
    SearchTextBox->setEditable(true);
    SearchTextBox->setInsertPolicy(QComboBox::NoInsert);
    SearchLabel->setBuddy(SearchTextBox);
    FilterLabel = new QLabel(QStringLiteral("&Files:"));
    FilterBox = new QComboBox;
    FilterBox->addItems(kFilters);
    FilterLabel->setBuddy(FilterBox);

    SearchOptions = new QGroupBox(QStringLiteral(" &Options "));
    auto *options = new QVBoxLayout(SearchOptions);
    SearchCaseSensitiveBtn = AddCheckBox(QStringLiteral("C&ase sensitive"), options);
    SearchWholeWordsOnlyBtn = AddCheckBox(QStringLiteral("&Whole words only"), options);
    SearchOpenFilesBtn = AddCheckBox(QStringLiteral("Search all open files"), options);
    SearchWorkDirBtn = AddCheckBox(QStringLiteral("Search &all files in working directory"), options);

    OKBtn = new QPushButton(QStringLiteral("OK"));
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton(QStringLiteral("Cancel"));
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKBtn);
    buttons->addWidget(CancelBtn);
    auto *layout = new QGridLayout(this);
    layout->addWidget(SearchLabel, 0, 0);
    layout->addWidget(SearchTextBox, 0, 1);
    layout->addWidget(FilterLabel, 1, 0);
    layout->addWidget(FilterBox, 1, 1);
    layout->addWidget(SearchOptions, 2, 0, 1, 2);
    layout->setRowStretch(3, 1);
    layout->addLayout(buttons, 4, 0, 1, 2);
}

void TSearchAllDlg::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    SearchTextBox->setFocus();
    SearchTextBox->lineEdit()->selectAll();
}

int TSearchAllDlg::Execute()
{
    const QString text = SearchText();
    SearchTextBox->clear();
    if (GetHistory)
        SearchTextBox->addItems(GetHistory());
    SearchTextBox->setEditText(text);
    const int result = exec();
    if (result == QDialog::Accepted && !SearchText().isEmpty() && AddToHistory)
        AddToHistory(SearchText());
    return result;
}

void TSearchAllDlg::SetSearchText(const QString &text)
{
    SearchTextBox->setEditText(text);
}
QString TSearchAllDlg::SearchText() const
{
    return SearchTextBox->currentText();
}
bool TSearchAllDlg::CaseSensitive() const
{
    return SearchCaseSensitiveBtn->isChecked();
}
bool TSearchAllDlg::WholeWords() const
{
    return SearchWholeWordsOnlyBtn->isChecked();
}
bool TSearchAllDlg::SearchOpenFiles() const
{
    return SearchOpenFilesBtn->isChecked();
}
bool TSearchAllDlg::SearchWorkDir() const
{
    return SearchWorkDirBtn->isChecked();
}
QString TSearchAllDlg::FileFilter() const
{
    return FilterBox->currentText();
}

void TSearchAllDlg::SetResultList(TColorListBox *list)
{
    m_results = list;
    if (m_results)
        m_results->clear();
}

TFileSearchOptions TSearchAllDlg::Options() const
{
    return {SearchText(), CaseSensitive(), WholeWords(), FileFilter()};
}

TFileSearch TSearchAllDlg::Searcher()
{
    return TFileSearch(Options(), [this](const QString &line) { AddLine(line); });
}

void TSearchAllDlg::AddLine(const QString &line)
{
    if (m_results)
        m_results->AddLine(line);
}

void TSearchAllDlg::SearchFile(const QString &fileName, const QStringList &lines)
{
    Searcher().SearchFile(fileName, lines);
}

void TSearchAllDlg::AddResult(const QString &fileName, int line, const QString &text)
{
    Searcher().AddResult(fileName, line, text);
}

bool TSearchAllDlg::Search(const TSearchScope &scope, QString &error)
{
    TFileSearch searcher = Searcher();
    if (SearchOpenFiles()) {
        AddLine(kOpenFilesLine);
        for (const TSearchSource &source : scope.openFiles)
            searcher.SearchFile(source.fileName, source.lines);
    } else if (scope.currentFile) {
        AddLine(kCurrentFileLine);
        searcher.SearchFile(scope.currentFile->fileName, scope.currentFile->lines);
    }
    if (SearchWorkDir()) {
        AddLine(kWorkDirLine);
        if (!searcher.SearchDirectory(scope.workDir, error))
            return false;
    }
    AddLine(kCompletedLine);
    return true;
}
