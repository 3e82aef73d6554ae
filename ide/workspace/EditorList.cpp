#include "EditorList.h"

#include "ConfirmReplace.h"

#include <QStackedWidget>
#include <QWidget>

#include <algorithm>

namespace {

QString AsciiLower(const QString &text)
{
    QString result = text;
    for (QChar &c : result)
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + 32);
    return result;
}

} // namespace

TSourceEditor *AsSourceEditor(IEditor *editor)
{
    return dynamic_cast<TSourceEditor *>(editor);
}

TEditorList::TEditorList(QWidget *parent)
    : m_parent(parent)
{
    ExecConfirm = [](TConfirmReplaceDialog &dialog) { return dialog.exec(); };
}

int TEditorList::OpenCount() const
{
    return static_cast<int>(std::count_if(m_slots.begin(), m_slots.end(), [](IEditor *e) { return e; }));
}

bool TEditorList::AnyCanSave() const
{
    return std::any_of(m_slots.begin(), m_slots.end(), [](IEditor *e) { return e && e->CanSave(); });
}

IEditor *TEditorList::EditorAt(int id) const
{
    return (id >= 0 && id < m_slots.size()) ? m_slots[id] : nullptr;
}

int TEditorList::IndexOfEditor(const IEditor *editor) const
{
    if (!editor)
        return -1;
    return static_cast<int>(m_slots.indexOf(const_cast<IEditor *>(editor)));
}

int TEditorList::AddEditor(IEditor *editor)
{
    qsizetype slot = m_slots.indexOf(nullptr);
    if (slot < 0) {
        slot = m_slots.size();
        m_slots.resize(m_slots.size() + 10, nullptr);
    }
    m_slots[slot] = editor;
    editor->SetId(static_cast<int>(slot));
    return static_cast<int>(slot);
}

IEditor *TEditorList::FindByName(const QString &name) const
{
    const QString key = AsciiLower(name);
    for (IEditor *editor : m_slots)
        if (editor && AsciiLower(editor->GetFileName()) == key)
            return editor;
    return nullptr;
}

IEditor *TEditorList::Open(const QString &name)
{
    IEditor *editor = FindByName(name);
    if (!editor) {
        auto *created = new TSourceEditor(name, m_parent, m_completion);
        created->OnStatusChange = [this](TSourceEditor &e, TStatusChanges changes) { NotifyChange(&e, changes); };
        created->OnReplaceText = [this](TSourceEditor &e, const QString &search, const QString &replacement, int line,
                                        int index) { return AskReplace(e, search, replacement, line, index); };
        // The replace question lives until its replace is over.
        created->OnSearchDone = [this](TSourceEditor &) { delete m_confirmDialog.data(); };
        created->SetSearchEngine(&m_searchEngine);
        created->SetPopupMenu(m_popupMenu);
        created->SetPrinter(m_printer);
        if (auto *stack = qobject_cast<QStackedWidget *>(m_parent))
            stack->addWidget(created);
        AddEditor(created);
        editor = created;
        if (OnEditorCreated)
            OnEditorCreated(*created);
    }
    editor->Activate();
    return editor;
}

int TEditorList::CloseEditor(int id)
{
    IEditor *editor = EditorAt(id);
    if (!editor)
        return 0;
    const int result = editor->Close();
    if (result == srCancelled)
        return result;
    m_slots[id] = nullptr;
    if (IsEmpty())
        NotifyChange(nullptr, scAll);
    return result;
}

void TEditorList::ActivateEditor(int id)
{
    if (IEditor *editor = EditorAt(id))
        editor->Activate();
}

void TEditorList::NotifyChange(IEditor *editor, TStatusChanges changes)
{
    if ((changes & (scAll | scSelection)) && OnEditStateChange)
        OnEditStateChange(editor);
    if ((changes & (scAll | scCaretX | scCaretY)) && OnCaretChange)
        OnCaretChange(editor);
    if ((changes & (scAll | scInsertMode | scModified | scReadOnly)) && OnDocumentChange)
        OnDocumentChange(editor);
}

TConfirmReplaceDialog *TEditorList::ConfirmDialog() const
{
    return m_confirmDialog;
}

TReplaceAction TEditorList::AskReplace(TSourceEditor &editor, const QString &search, const QString &replacement,
                                       int line, int index)
{
    if (search == replacement)
        return TReplaceAction::raSkip;
    const QRect occurrence = editor.ScreenRectAt(line, index);
    if (!m_confirmDialog)
        m_confirmDialog = new TConfirmReplaceDialog(editor.window());
    m_confirmDialog->PrepareShow(editor.ScreenClientRect(), occurrence.left(), occurrence.top(),
                                 occurrence.top() + occurrence.height(), search);
    switch (ExecConfirm(*m_confirmDialog)) {
    case TConfirmReplaceDialog::mrYes:
        return TReplaceAction::raReplace;
    case TConfirmReplaceDialog::mrNo:
        return TReplaceAction::raSkip;
    case TConfirmReplaceDialog::mrYesToAll:
        return TReplaceAction::raReplaceAll;
    default:
        return TReplaceAction::raCancel;
    }
}
