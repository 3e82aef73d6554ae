// TSourceEditor: the editor of one open file, built on the editor control.
// It is reached by the rest of the workbench through IEditor.
#pragma once

#include "IEditor.h"
#include "SearchEngine.h"
#include "SourceFile.h"

#include <Qsci/qsciscintilla.h>

#include <QPointer>

#include <functional>
#include <memory>

class QMenu;
class TBreakpointMargin;
class TEditorPrinter;
class TIntellisense;
class TSynVelmo;

// The status changes an editor reports, as a set of these bits.
enum TStatusChange : unsigned {
    scAll = 1u << 0, // full refresh
    scCaretX = 1u << 1, // caret column
    scCaretY = 1u << 2, // caret line
    scLeftChar = 1u << 3, // first visible column
    scTopLine = 1u << 4, // first visible line
    scInsertMode = 1u << 5,
    scModified = 1u << 6,
    scSelection = 1u << 7,
    scReadOnly = 1u << 8,
};
using TStatusChanges = unsigned;

// The answer to the question asked before each replacement.
enum class TReplaceAction { raCancel, raSkip, raReplace, raReplaceAll };

// The questions an editor asks the user while saving: the save dialog and the
// message dialog, or the hooks in force (DialogHooks) that stand for them.
struct TEditorPrompts {
    // The chosen file name, or an empty text when the user cancels.
    std::function<QString(QWidget *parent, const QString &initialName)> AskSaveName;
    // A Yes/No/Cancel question; returns 6 (Yes), 7 (No) or 2 (Cancel).
    std::function<int(const QString &message, const QString &help)> Confirm;
    // The information sound of a search that found nothing.
    std::function<void()> Beep;
};

// Turns a filter of the form "Caption|pattern|Caption|pattern" into the file
// dialog's name filters ("*.*" matches every file, with or without a dot).
QStringList DialogNameFilters(const QString &filter);

class TSourceEditor : public QsciScintilla, public IEditor {
    Q_OBJECT

public:
    // completion, when given, offers the language's words in a Velmo source;
    // it may go before the editor.
    TSourceEditor(const QString &fileName, QWidget *parent, TIntellisense *completion = nullptr);
    ~TSourceEditor() override;

    // IEdit
    bool CanCut() const override;
    bool CanCopy() const override;
    bool CanUndo() const override;
    bool CanRedo() const override;
    bool CanSave() const override;
    bool CanPaste() const override;
    bool CanDelete() const override;
    void Undo() override;
    void Redo() override;
    void SelectAll() override;
    void Delete() override;
    void Cut() override;
    void Copy() override;
    void Paste() override;

    // IEditor
    int Save() override;
    int SaveAs() override;
    int Close() override;
    int CloseQuery() override;
    int GetId() const override
    {
        return m_id;
    }
    QStringList GetLines() const override;
    QString GetSelText() const override;
    QString GetFileName() const override
    {
        return m_fileName;
    }
    QString GetTitle() const override;
    void Activate() override;
    void SetId(int id) override
    {
        m_id = id;
    }
    void GotoLine(int line) override;
    void Search(bool replace, bool backwards, bool wholeScope) override;
    void Print(bool colours, bool lineNumbers, bool selectionOnly) override;

    // Highlighting and completion follow the file's extension.
    void ApplyFileType();
    bool HasSelection() const;
    bool IsModified() const
    {
        return isModified();
    }
    bool InsertMode() const
    {
        return !overwriteMode();
    }
    bool IsReadOnly() const
    {
        return isReadOnly();
    }
    void SetReadOnly(bool readOnly);
    QString AllText() const; // NUL bytes included
    int CaretLine() const; // 1-based
    int CaretColumn() const; // 1-based, tabs expanded
    TTextEncoding Encoding() const
    {
        return m_encoding;
    }
    TLineEnd LineEnd() const
    {
        return m_lineEnd;
    }
    TSynVelmo *Highlighter() const
    {
        return m_highlighter;
    }
    void SetSearchEngine(TSearchEngine *engine)
    {
        m_searchEngine = engine;
    }
    void SetPopupMenu(QMenu *menu)
    {
        m_popupMenu = menu;
    }
    // Where Print finds its printer; none given, the editor prints on one of
    // its own.
    void SetPrinter(std::function<TEditorPrinter &()> printer)
    {
        m_printer = std::move(printer);
    }

    // The breakpoints and the place of a debugged program (BreakpointMargin).
    TBreakpointMargin *Breakpoints() const
    {
        return m_breakpoints;
    }

    // Screen geometry of a place in the text and of the client area, used to
    // put the replace question next to an occurrence.
    QRect ScreenRectAt(int line, int index) const;
    QRect ScreenClientRect() const;

    // Events: status changes, the question before each replacement and the
    // end of a search or replace.
    std::function<void(TSourceEditor &, TStatusChanges)> OnStatusChange;
    std::function<TReplaceAction(TSourceEditor &, const QString &search, const QString &replacement, int line,
                                 int index)>
        OnReplaceText;
    std::function<void(TSourceEditor &)> OnSearchDone;

    static TEditorPrompts Prompts();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void Configure();
    void ApplyAppearance();
    void UpdateGutterWidth();
    void LoadFile();
    void WriteTo(const QString &fileName);
    void DoStatusChange(TStatusChanges changes);
    void DetachCompletion();
    void UpdateUI(int updated);
    bool SmartEnd(bool extend);
    int SearchOnce(const TSearchOptions &options, bool backwards, bool wholeScope);
    int ReplaceAll(const TSearchOptions &options, bool backwards, bool wholeScope);
    void NotFound(bool backwards);
    TReplaceAction AskReplace(const TSearchOptions &options, long start, long end);
    void SelectBytes(long anchor, long caret);
    std::pair<long, long> Scope(const TSearchOptions &options) const;

    QString m_fileName;
    int m_id = -1;
    TTextEncoding m_encoding = TTextEncoding::Utf8;
    TLineEnd m_lineEnd = TLineEnd::CrLf;
    TSynVelmo *m_highlighter = nullptr;
    TSearchEngine *m_searchEngine = nullptr;
    QMenu *m_popupMenu = nullptr;
    std::function<TEditorPrinter &()> m_printer;
    QPointer<TIntellisense> m_completion;
    std::unique_ptr<TEditorPrinter> m_ownPrinter;
    int m_gutterDigits = 0;
    TBreakpointMargin *m_breakpoints = nullptr;
};
