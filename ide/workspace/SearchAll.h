#pragma once

#include "FileSearch.h"

#include <QDialog>
#include <QPointer>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QGroupBox;
class QLabel;
class QPushButton;
class TColorListBox;
class TSearchDlg;

// One text to search: the editor's file name and its lines as they stand.
struct TSearchSource {
    QString fileName;
    QStringList lines;
};

// Where Find All looks: the open editors in the order of the editor list's
// slots, the editor of the active tab, and the working directory.
struct TSearchScope {
    std::vector<TSearchSource> openFiles;
    std::optional<TSearchSource> currentFile;
    QString workDir;
};

// The "Search all..." dialog: search text, file filter, options and scope.
// One instance lives for the whole run; its choices persist between uses.
class TSearchAllDlg : public QDialog {
    Q_OBJECT
public:
    explicit TSearchAllDlg(QWidget *parent = nullptr);

    // The search history shared with the find dialog: read each time the
    // dialog is shown, added to when it closes with OK.
    std::function<QStringList()> GetHistory;
    std::function<void(const QString &)> AddToHistory;
    // Reads and extends the search history of find, which outlives this.
    void ShareHistoryOf(TSearchDlg &find);

    // Shows the dialog modally; returns its result.
    int Execute();

    void SetSearchText(const QString &text);
    QString SearchText() const;
    bool CaseSensitive() const;
    bool WholeWords() const;
    bool SearchOpenFiles() const;
    bool SearchWorkDir() const;
    QString FileFilter() const;

    // Remembers the list results go to and clears it.
    void SetResultList(TColorListBox *list);
    void SearchFile(const QString &fileName, const QStringList &lines);
    void AddResult(const QString &fileName, int line, const QString &text);

    // Runs the search over the chosen scope into the result list. Returns
    // false with the message when a file of the working directory cannot be
    // read; the results found so far stay and "completed." is not added.
    bool Search(const TSearchScope &scope, QString &error);

    QComboBox *SearchTextBox = nullptr;
    QComboBox *FilterBox = nullptr;
    QCheckBox *SearchCaseSensitiveBtn = nullptr;
    QCheckBox *SearchWholeWordsOnlyBtn = nullptr;
    QCheckBox *SearchOpenFilesBtn = nullptr;
    QCheckBox *SearchWorkDirBtn = nullptr;
    QPushButton *OKBtn = nullptr;
    QPushButton *CancelBtn = nullptr;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void CreateComponents();
    TFileSearchOptions Options() const;
    TFileSearch Searcher();
    void AddLine(const QString &line);

    QLabel *SearchLabel = nullptr;
    QLabel *FilterLabel = nullptr;
    QGroupBox *SearchOptions = nullptr;
    QPointer<TColorListBox> m_results;
};
