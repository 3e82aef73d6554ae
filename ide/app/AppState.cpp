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
    if (!m_searchDlg)
        m_searchDlg = std::make_unique<TSearchDlg>();
    return *m_searchDlg;
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
