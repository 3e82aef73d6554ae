// TSearchDlg: the find and replace dialog, in a search layout and a replace
// layout. One instance lives for the whole run, so its texts, histories and
// check boxes keep their state between uses.
#pragma once

#include "SearchEngine.h"

#include <QDialog>
#include <QStringList>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;

class TSearchDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr int kHistorySize = 20;

    explicit TSearchDlg(QWidget *parent = nullptr);

    int ShowFind();
    int ShowReplace();
    void SetSearchText(const QString &text);
    QString SearchText() const;
    QString ReplaceText() const;
    bool CaseSensitive() const;
    bool WholeWords() const;
    bool SelectedOnly() const;
    bool EntireScope() const;
    TSearchOptions Options() const;

    QStringList SearchHistory() const;
    QStringList ReplaceHistory() const;
    void SetSearchHistory(const QStringList &history);
    void SetReplaceHistory(const QStringList &history);
    // Puts text on top of a history: an entry equal to it without regard to
    // case goes away, and the list keeps at most 20 entries.
    static void AddToHistory(QStringList &history, const QString &text);
    void AddToHistory(QComboBox *box, const QString &text);

    void done(int result) override;

    QLabel *SearchLabel = nullptr;
    QComboBox *SearchTextBox = nullptr;
    QLabel *ReplaceLabel = nullptr;
    QComboBox *ReplaceTextBox = nullptr;
    QGroupBox *SearchOptions = nullptr;
    QCheckBox *cbSearchCaseSensitive = nullptr;
    QCheckBox *cbSearchWholeWords = nullptr;
    QCheckBox *cbSearchFromCursor = nullptr;
    QCheckBox *cbSearchSelectedOnly = nullptr;
    QPushButton *OKBtn = nullptr;
    QPushButton *CancelBtn = nullptr;

private:
    void Layout(bool replace);
    int ShowLayout(bool replace);
};
