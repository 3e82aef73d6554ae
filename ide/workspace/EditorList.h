// TEditorList: the open editors, one per slot. An editor's Id is its slot;
// a freed slot is taken again by the next new editor.
#pragma once

#include "SearchEngine.h"
#include "SourceEditor.h"

#include <QList>
#include <QString>

#include <QPointer>
#include <functional>

class QMenu;
class QWidget;
class TConfirmReplaceDialog;
class TEditorPrinter;
class TIntellisense;

class TEditorList {
public:
    // New editors are created on parent (the editor panel's stack).
    explicit TEditorList(QWidget *parent);

    int OpenCount() const;
    bool IsEmpty() const
    {
        return OpenCount() == 0;
    }
    bool AnyCanSave() const;
    IEditor *EditorAt(int id) const;
    int IndexOfEditor(const IEditor *editor) const;
    int AddEditor(IEditor *editor);
    IEditor *FindByName(const QString &name) const;
    IEditor *Open(const QString &name);
    int CloseEditor(int id);
    void ActivateEditor(int id);
    void NotifyChange(IEditor *editor, TStatusChanges changes);
    TReplaceAction AskReplace(TSourceEditor &editor, const QString &search, const QString &replacement, int line,
                              int index);

    // The slots in order; empty slots hold nullptr.
    const QList<IEditor *> &Slots() const
    {
        return m_slots;
    }
    TSearchEngine &SearchEngine()
    {
        return m_searchEngine;
    }
    void SetPopupMenu(QMenu *menu)
    {
        m_popupMenu = menu;
    }
    // The completion the Velmo sources of editors opened from now on offer
    // (the workbench's); none, they offer none.
    void SetCompletion(TIntellisense *completion)
    {
        m_completion = completion;
    }
    // Where the editors find the printer they print on when they print (the
    // workbench's, which outlives them).
    void SetPrinter(std::function<TEditorPrinter &()> printer)
    {
        m_printer = std::move(printer);
    }

    std::function<void(IEditor *)> OnEditStateChange;
    std::function<void(IEditor *)> OnCaretChange;
    std::function<void(IEditor *)> OnDocumentChange;
    // Each editor the list creates, once it is in the list.
    std::function<void(TSourceEditor &)> OnEditorCreated;
    // Shows the replace question modally and returns its result; tests
    // answer it themselves.
    std::function<int(TConfirmReplaceDialog &)> ExecConfirm;
    // The question of the replace in progress, if any.
    TConfirmReplaceDialog *ConfirmDialog() const;

private:
    QWidget *m_parent;
    QList<IEditor *> m_slots;
    TSearchEngine m_searchEngine;
    QMenu *m_popupMenu = nullptr;
    std::function<TEditorPrinter &()> m_printer;
    TIntellisense *m_completion = nullptr;
    QPointer<TConfirmReplaceDialog> m_confirmDialog;
};

// The source editor behind an editor reference, if it is one.
TSourceEditor *AsSourceEditor(IEditor *editor);
