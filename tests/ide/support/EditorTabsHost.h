#pragma once

#include "EditorList.h"
#include "EditorTabs.h"
#include "SearchReplace.h"

#include <QSize>
#include <QStackedWidget>
#include <QTabBar>
#include <QVBoxLayout>
#include <QWidget>

#include <memory>

// Lays out a bare window as the main window's editor panel is laid out: the
// tab strip over the editor stack, driven by the editor tabs it returns. The
// Velmo sources offer completion when one is given.
inline std::unique_ptr<TEditorTabs> MakeEditorTabs(QWidget *host, TSearchDlg *searchDlg, QSize size,
                                                   TIntellisense *completion = nullptr)
{
    auto *layout = new QVBoxLayout(host);
    auto *tabBar = new QTabBar(host);
    auto *stack = new QStackedWidget(host);
    layout->addWidget(tabBar);
    layout->addWidget(stack);
    host->resize(size);
    auto tabs = std::make_unique<TEditorTabs>(tabBar, stack, [searchDlg]() -> TSearchDlg & { return *searchDlg; });
    tabs->EditorList().SetCompletion(completion);
    return tabs;
}
