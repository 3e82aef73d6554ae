#include "AppState.h"

#include "Intellisense.h"
#include "Print.h"
#include "PrintJob.h"
#include "SearchAll.h"
#include "SearchReplace.h"

TAppState::TAppState(const TWorkbenchPaths &paths)
    : m_paths(paths)
    , m_pathsInUse(m_paths)
    , m_dialogHooksInUse(m_dialogHooks)
{
}

TAppState::~TAppState() = default;

bool TAppState::TakeSettingsPreparation()
{
    const bool first = !m_settingsPrepared;
    m_settingsPrepared = true;
    return first;
}

TSearchDlg &TAppState::SearchDialog()
{
    if (!m_searchDlg) {
        m_searchDlg = std::make_unique<TSearchDlg>();
        m_searchDlg->SetSearchHistory(m_searchHistory);
        m_searchDlg->SetReplaceHistory(m_replaceHistory);
    }
    return *m_searchDlg;
}

void TAppState::SetSearchHistories(const QStringList &search, const QStringList &replace)
{
    // As the dialog's boxes would keep them.
    m_searchHistory = search.mid(0, TSearchDlg::kHistorySize);
    m_replaceHistory = replace.mid(0, TSearchDlg::kHistorySize);
    if (m_searchDlg) {
        m_searchDlg->SetSearchHistory(search);
        m_searchDlg->SetReplaceHistory(replace);
    }
}

QStringList TAppState::SearchHistory() const
{
    return m_searchDlg ? m_searchDlg->SearchHistory() : m_searchHistory;
}

QStringList TAppState::ReplaceHistory() const
{
    return m_searchDlg ? m_searchDlg->ReplaceHistory() : m_replaceHistory;
}

TSearchAllDlg &TAppState::SearchAllDialog()
{
    if (!m_searchAllDlg) {
        m_searchAllDlg = std::make_unique<TSearchAllDlg>();
        m_searchAllDlg->ShareHistoryOf(SearchDialog());
    }
    return *m_searchAllDlg;
}

TPrintFileDialog &TAppState::PrintDialog()
{
    if (!m_printDlg)
        m_printDlg = std::make_unique<TPrintFileDialog>(Printer());
    return *m_printDlg;
}

TIntellisense &TAppState::Completion()
{
    if (!m_completion)
        m_completion = std::make_unique<TIntellisense>();
    return *m_completion;
}

TEditorPrinter &TAppState::Printer()
{
    if (!m_printer)
        m_printer = std::make_unique<TEditorPrinter>();
    return *m_printer;
}
