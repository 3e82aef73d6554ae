#include "SourceEditor.h"

#include "BreakpointMargin.h"
#include "ConfirmReplace.h"
#include "DialogHooks.h"
#include "Highlighter.h"
#include "Intellisense.h"
#include "MsgDlg.h"
#include "PrintJob.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMimeData>
#include <QStackedWidget>

#include <algorithm>
#include <stdexcept>

namespace {

const QColor kSelectionBack(120, 120, 120);
const QColor kGutterBorder(229, 228, 215);
const QColor kEdgeColor(192, 192, 192);
constexpr int kLineNumberMargin = 0;
constexpr int kBorderMargin = 1;
const QString kSaveFilter = QStringLiteral("Velmo programs (*.bas)|*.bas|All files (*.*)|*.*");

QString AskSaveNameWithDialog(QWidget *parent, const QString &initialName)
{
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters(DialogNameFilters(kSaveFilter));
    dialog.setDefaultSuffix(QStringLiteral("bas"));
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    // A new file's bare name stands in the current (working) directory, not
    // in the folder the last file dialog happened to show.
    const QFileInfo initial(initialName);
    dialog.setDirectory(initial.absolutePath());
    dialog.selectFile(initial.fileName());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

int ConfirmWithMessageDlg(const QString &message, const QString &help)
{
    return ShowMessageDlg(mkConfirmation, message, help, true);
}

QStringList SplitTextLines(const QString &text)
{
    QStringList lines;
    qsizetype begin = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != u'\r' && c != u'\n')
            continue;
        lines.append(text.mid(begin, i - begin));
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        begin = i + 1;
    }
    if (begin < text.size())
        lines.append(text.mid(begin));
    return lines;
}

QsciScintilla::EolMode EolModeOf(TLineEnd lineEnd)
{
    switch (lineEnd) {
    case TLineEnd::Lf:
        return QsciScintilla::EolUnix;
    case TLineEnd::Cr:
        return QsciScintilla::EolMac;
    case TLineEnd::CrLf:
        break;
    }
    return QsciScintilla::EolWindows;
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

} // namespace

QStringList DialogNameFilters(const QString &filter)
{
    const QStringList parts = filter.split(u'|');
    QStringList result;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString caption = parts[i];
        const qsizetype paren = caption.indexOf(u'(');
        if (paren > 0)
            caption = caption.left(paren).trimmed();
        QString patterns = parts[i + 1];
        patterns.replace(u';', u' ').replace(QStringLiteral("*.*"), QStringLiteral("*"));
        result.append(QStringLiteral("%1 (%2)").arg(caption, patterns));
    }
    return result;
}

TEditorPrompts TSourceEditor::Prompts()
{
    const TDialogHooks &hooks = DialogHooks();
    TEditorPrompts prompts{AskSaveNameWithDialog, ConfirmWithMessageDlg, [] { QApplication::beep(); }};
    if (hooks.askSaveName)
        prompts.AskSaveName = hooks.askSaveName;
    if (hooks.confirm)
        prompts.Confirm = hooks.confirm;
    if (hooks.beep)
        prompts.Beep = hooks.beep;
    return prompts;
}

TSourceEditor::TSourceEditor(const QString &fileName, QWidget *parent, TIntellisense *completion)
    : QsciScintilla(parent)
    , m_fileName(fileName)
    , m_completion(completion)
{
    Configure();
    m_breakpoints = new TBreakpointMargin(this);
    // The highlighter comes before the text: set afterwards, it would colour
    // the whole file at once; set before, the control colours only the lines
    // it shows, when it shows them.
    ApplyFileType();
    try {
        LoadFile();
    } catch (...) {
        // A file that cannot be read ends the construction here, where no
        // destructor of this class runs: the completion popup must not keep
        // the half-built editor.
        DetachCompletion();
        throw;
    }
    connect(this, &QsciScintilla::modificationChanged, this, [this] { DoStatusChange(scModified); });
    connect(this, &QsciScintillaBase::SCN_UPDATEUI, this, &TSourceEditor::UpdateUI);
    connect(this, &QsciScintilla::linesChanged, this, &TSourceEditor::UpdateGutterWidth);
}

TSourceEditor::~TSourceEditor()
{
    DetachCompletion();
}

void TSourceEditor::DetachCompletion()
{
    if (m_completion)
        m_completion->Detach(this);
}

// Editing behaviour: column selection with Alt, automatic indentation, drag
// and drop of text, the enhanced End key (keyPressEvent), grouped undo (the
// control groups consecutive typing) and the caret beyond the end of a line.
void TSourceEditor::Configure()
{
    setFrameStyle(QFrame::NoFrame);
    setUtf8(true);
    setTabWidth(4);
    setIndentationsUseTabs(true);
    setTabIndents(false);
    setBackspaceUnindents(false);
    setAutoIndent(true);
    setBraceMatching(NoBraceMatch);
    setAutoCompletionSource(AcsNone);
    setFolding(NoFoldStyle);
    setWrapMode(WrapNone);
    setCaretLineVisible(false);
    SendScintilla(SCI_SETVIRTUALSPACEOPTIONS, SCVS_RECTANGULARSELECTION | SCVS_USERACCESSIBLE);
    SendScintilla(SCI_SETMOUSESELECTIONRECTANGULARSWITCH, 1UL);
    SendScintilla(SCI_SETMULTIPLESELECTION, 0UL);
    SendScintilla(SCI_SETCARETSTYLE, CARETSTYLE_LINE);
    // Colouring changes styles and line states line by line; nothing listens
    // to those changes, so the control need not report each of them.
    SendScintilla(SCI_SETMODEVENTMASK, SC_MODEVENTMASKALL & ~(SC_MOD_CHANGESTYLE | SC_MOD_CHANGELINESTATE));
    setEdgeMode(EdgeLine);
    setEdgeColumn(80);
    setEdgeColor(kEdgeColor);
    setMarginType(kLineNumberMargin, NumberMargin);
    setMarginLineNumbers(kLineNumberMargin, true);
    setMarginType(kBorderMargin, SymbolMarginColor);
    setMarginWidth(kBorderMargin, 1);
    setMarginSensitivity(kBorderMargin, false);
    for (int margin = 2; margin < margins(); ++margin)
        setMarginWidth(margin, 0);
    setFont(TSynVelmo::BaseFont());
    setColor(Qt::black);
    setPaper(palette().color(QPalette::Base));
}

// Selection, gutter and font; the control resets its styles when the
// highlighter changes, so this runs after every change of it.
void TSourceEditor::ApplyAppearance()
{
    const QColor window = palette().color(QPalette::Base);
    setSelectionForegroundColor(window);
    setSelectionBackgroundColor(kSelectionBack);
    QFont gutterFont = TSynVelmo::BaseFont();
    gutterFont.setPointSize(8);
    setMarginsFont(gutterFont);
    setMarginsBackgroundColor(window);
    setMarginsForegroundColor(Qt::black);
    setMarginBackgroundColor(kBorderMargin, kGutterBorder);
    m_gutterDigits = 0;
    UpdateGutterWidth();
}

// The line numbers take at least two digits.
void TSourceEditor::UpdateGutterWidth()
{
    const int digits = std::max(2, static_cast<int>(QString::number(lines()).size()));
    if (digits == m_gutterDigits)
        return;
    m_gutterDigits = digits;
    const long width = SendScintilla(SCI_TEXTWIDTH, STYLE_LINENUMBER, QByteArray(digits, '9').constData());
    setMarginWidth(kLineNumberMargin, static_cast<int>(width) + 10);
}

void TSourceEditor::LoadFile()
{
    const QFileInfo info(m_fileName);
    if (info.exists()) {
        if (info.isDir())
            throw std::runtime_error(
                QStringLiteral("Cannot open file \"%1\". It is a directory.").arg(m_fileName).toStdString());
        const TSourceBytes source = LoadSourceFile(m_fileName);
        // Appended with its length, so a NUL byte in the file does not end it.
        SendScintilla(SCI_CLEARALL);
        SendScintilla(SCI_APPENDTEXT, static_cast<unsigned long>(source.utf8.size()), source.utf8.constData());
        m_encoding = source.encoding;
        m_lineEnd = source.lineEnd;
        SendScintilla(SCI_EMPTYUNDOBUFFER);
        setModified(false);
    }
    setEolMode(EolModeOf(m_lineEnd));
}

void TSourceEditor::ApplyFileType()
{
    const bool velmo = QFileInfo(m_fileName).suffix().toLower() == QLatin1String("bas");
    if (velmo && !m_highlighter) {
        m_highlighter = new TSynVelmo(this);
        setLexer(m_highlighter);
    } else if (!velmo && m_highlighter) {
        setLexer(nullptr);
        delete m_highlighter;
        m_highlighter = nullptr;
    }
    if (velmo && m_completion)
        m_completion->Attach(this);
    else
        DetachCompletion();
    ApplyAppearance();
}

void TSourceEditor::DoStatusChange(TStatusChanges changes)
{
    if (OnStatusChange)
        OnStatusChange(*this, changes);
}

void TSourceEditor::UpdateUI(int updated)
{
    TStatusChanges changes = 0;
    if (updated & (SC_UPDATE_SELECTION | SC_UPDATE_CONTENT))
        changes |= scSelection | scCaretX | scCaretY;
    if (updated & SC_UPDATE_H_SCROLL)
        changes |= scLeftChar;
    if (updated & SC_UPDATE_V_SCROLL)
        changes |= scTopLine;
    if (changes)
        DoStatusChange(changes);
}

void TSourceEditor::SetReadOnly(bool readOnly)
{
    if (readOnly == isReadOnly())
        return;
    setReadOnly(readOnly);
    DoStatusChange(scReadOnly);
}

// ---- IEdit

bool TSourceEditor::HasSelection() const
{
    if (SendScintilla(SCI_SELECTIONISRECTANGLE)) {
        const long anchor = SendScintilla(SCI_GETRECTANGULARSELECTIONANCHOR);
        const long caret = SendScintilla(SCI_GETRECTANGULARSELECTIONCARET);
        return SendScintilla(SCI_GETCOLUMN, anchor) + SendScintilla(SCI_GETRECTANGULARSELECTIONANCHORVIRTUALSPACE) !=
            SendScintilla(SCI_GETCOLUMN, caret) + SendScintilla(SCI_GETRECTANGULARSELECTIONCARETVIRTUALSPACE);
    }
    return SendScintilla(SCI_GETANCHOR) != SendScintilla(SCI_GETCURRENTPOS) ||
        SendScintilla(SCI_GETSELECTIONNANCHORVIRTUALSPACE, 0UL) !=
        SendScintilla(SCI_GETSELECTIONNCARETVIRTUALSPACE, 0UL);
}

bool TSourceEditor::CanCut() const
{
    return HasSelection();
}
bool TSourceEditor::CanCopy() const
{
    return HasSelection();
}
bool TSourceEditor::CanDelete() const
{
    return HasSelection();
}
bool TSourceEditor::CanUndo() const
{
    return !isReadOnly() && isUndoAvailable();
}
bool TSourceEditor::CanRedo() const
{
    return !isReadOnly() && isRedoAvailable();
}

bool TSourceEditor::CanSave() const
{
    return m_fileName.startsWith(QLatin1String("NewFile")) || isModified();
}

bool TSourceEditor::CanPaste() const
{
    const QMimeData *data = QApplication::clipboard()->mimeData();
    return !isReadOnly() && data && data->hasText();
}

void TSourceEditor::Undo()
{
    undo();
}
void TSourceEditor::Redo()
{
    redo();
}
void TSourceEditor::SelectAll()
{
    selectAll(true);
}
void TSourceEditor::Cut()
{
    cut();
}
void TSourceEditor::Copy()
{
    copy();
}
void TSourceEditor::Paste()
{
    paste();
}

void TSourceEditor::Delete()
{
    if (!isReadOnly())
        removeSelectedText();
}

// ---- documents

void TSourceEditor::WriteTo(const QString &fileName)
{
    TTextEncoding encoding = m_encoding;
    SaveSourceFile(fileName, AllText(), encoding);
    m_encoding = encoding;
}

int TSourceEditor::Save()
{
    if (m_fileName.startsWith(QLatin1String("NewFile")))
        return SaveAs();
    if (!isModified())
        return srNothing;
    WriteTo(m_fileName);
    setModified(false);
    return srSaved;
}

int TSourceEditor::SaveAs()
{
    for (;;) {
        const QString name = Prompts().AskSaveName(this, m_fileName);
        if (name.isEmpty())
            return srCancelled;
        if (QFileInfo::exists(name)) {
            const int answer =
                Prompts().Confirm(QStringLiteral("The file %1 already exists.").arg(QFileInfo(name).fileName()),
                                  QStringLiteral("Do You want to replace the existing file?"));
            if (answer == 7)
                continue;
            if (answer != 6)
                return srCancelled;
        }
        WriteTo(name);
        m_fileName = name;
        ApplyFileType();
        if (isModified())
            setModified(false);
        else
            DoStatusChange(scModified);
        return srSaved;
    }
}

int TSourceEditor::CloseQuery()
{
    if (!isModified())
        return srSaved;
    const int answer = Prompts().Confirm(QStringLiteral("%1 has been changed.").arg(GetTitle()),
                                         QStringLiteral("Do You want to save the changes?"));
    if (answer == 6)
        return Save();
    return answer == 7 ? srNothing : srCancelled;
}

int TSourceEditor::Close()
{
    const int result = CloseQuery();
    if (result == srCancelled)
        return result;
    DetachCompletion();
    OnStatusChange = nullptr;
    OnReplaceText = nullptr;
    OnSearchDone = nullptr;
    blockSignals(true);
    if (auto *stack = qobject_cast<QStackedWidget *>(parentWidget()))
        stack->removeWidget(this);
    hide();
    deleteLater();
    return result;
}

QStringList TSourceEditor::GetLines() const
{
    return SplitTextLines(AllText());
}

QString TSourceEditor::GetSelText() const
{
    if (!HasSelection())
        return QString();
    const long size = SendScintilla(SCI_GETSELTEXT, 0UL, static_cast<void *>(nullptr));
    QByteArray bytes(static_cast<int>(size) + 1, '\0');
    SendScintilla(SCI_GETSELTEXT, 0UL, static_cast<void *>(bytes.data()));
    return QString::fromUtf8(bytes.constData());
}

QString TSourceEditor::GetTitle() const
{
    return QFileInfo(m_fileName).fileName();
}

void TSourceEditor::Activate()
{
    DoStatusChange(scAll);
    if (auto *stack = qobject_cast<QStackedWidget *>(parentWidget()))
        stack->setCurrentWidget(this);
    else
        raise();
    setFocus();
}

int TSourceEditor::CaretLine() const
{
    return static_cast<int>(SendScintilla(SCI_LINEFROMPOSITION, SendScintilla(SCI_GETCURRENTPOS))) + 1;
}

int TSourceEditor::CaretColumn() const
{
    const long column = SendScintilla(SCI_GETCOLUMN, SendScintilla(SCI_GETCURRENTPOS));
    return static_cast<int>(column + SendScintilla(SCI_GETSELECTIONNCARETVIRTUALSPACE, 0UL)) + 1;
}

// The whole text by its length: the control's own text() ends at the first
// NUL byte, which would cut a file holding one short when it is saved.
QString TSourceEditor::AllText() const
{
    const long length = SendScintilla(SCI_GETLENGTH);
    QByteArray bytes(static_cast<qsizetype>(length) + 1, '\0');
    SendScintilla(SCI_GETTEXT, static_cast<unsigned long>(length) + 1, bytes.data());
    bytes.chop(1);
    return QString::fromUtf8(bytes);
}

void TSourceEditor::GotoLine(int line)
{
    const int target = std::clamp(line - 1, 0, std::max(0, lines() - 1));
    setCursorPosition(target, 0);
    const int linesOnScreen = static_cast<int>(SendScintilla(SCI_LINESONSCREEN));
    setFirstVisibleLine(std::max(0, target - linesOnScreen / 2));
    DoStatusChange(scSelection | scCaretX | scCaretY);
}

// ---- keyboard

void TSourceEditor::keyPressEvent(QKeyEvent *event)
{
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    if (event->key() == Qt::Key_End && (mods == Qt::NoModifier || mods == Qt::ShiftModifier)) {
        SmartEnd(mods == Qt::ShiftModifier);
        event->accept();
        return;
    }
    const bool overwrite = overwriteMode();
    QsciScintilla::keyPressEvent(event);
    if (overwriteMode() != overwrite)
        DoStatusChange(scInsertMode);
}

// End goes to the last non-blank character of the line first, and to the
// very end of the line when the caret stands there already.
bool TSourceEditor::SmartEnd(bool extend)
{
    const long caret = SendScintilla(SCI_GETCURRENTPOS);
    const long line = SendScintilla(SCI_LINEFROMPOSITION, caret);
    const long begin = SendScintilla(SCI_POSITIONFROMLINE, line);
    const long end = SendScintilla(SCI_GETLINEENDPOSITION, line);
    long lastNonBlank = end;
    while (lastNonBlank > begin && IsBlank(static_cast<char>(SendScintilla(SCI_GETCHARAT, lastNonBlank - 1))))
        --lastNonBlank;
    const bool inVirtualSpace = SendScintilla(SCI_GETSELECTIONNCARETVIRTUALSPACE, 0UL) > 0;
    const long target = (caret == lastNonBlank && !inVirtualSpace) ? end : lastNonBlank;
    if (extend) {
        const long anchor = SendScintilla(SCI_GETANCHOR);
        SendScintilla(SCI_SETSELECTION, target, anchor);
    } else {
        SendScintilla(SCI_GOTOPOS, target);
    }
    SendScintilla(SCI_CHOOSECARETX);
    SendScintilla(SCI_SCROLLCARET);
    return true;
}

void TSourceEditor::contextMenuEvent(QContextMenuEvent *event)
{
    if (event->reason() == QContextMenuEvent::Mouse && m_breakpoints->ContextClick(event->pos())) {
        event->accept(); // the breakpoint's own dialog
        return;
    }
    if (!m_popupMenu) {
        QsciScintilla::contextMenuEvent(event);
        return;
    }
    m_popupMenu->exec(event->globalPos());
    event->accept();
}

// ---- search

QRect TSourceEditor::ScreenRectAt(int line, int index) const
{
    const long pos = positionFromLineIndex(line, index);
    const int x = static_cast<int>(SendScintilla(SCI_POINTXFROMPOSITION, 0UL, pos));
    const int y = static_cast<int>(SendScintilla(SCI_POINTYFROMPOSITION, 0UL, pos));
    const int height = static_cast<int>(SendScintilla(SCI_TEXTHEIGHT, line));
    return QRect(viewport()->mapToGlobal(QPoint(x, y)), QSize(1, height));
}

QRect TSourceEditor::ScreenClientRect() const
{
    return QRect(viewport()->mapToGlobal(QPoint(0, 0)), viewport()->size());
}

std::pair<long, long> TSourceEditor::Scope(const TSearchOptions &options) const
{
    if (options.selectedOnly && HasSelection())
        return {SendScintilla(SCI_GETSELECTIONSTART), SendScintilla(SCI_GETSELECTIONEND)};
    return {0, SendScintilla(SCI_GETLENGTH)};
}

// The control reports a selection it was told to make only when it next
// paints, which a hidden or covered editor may never do; the search commands
// report it themselves so the caret panel and the edit buttons follow at once.
void TSourceEditor::SelectBytes(long anchor, long caret)
{
    SendScintilla(SCI_SETSELECTION, caret, anchor);
    SendScintilla(SCI_SCROLLRANGE, anchor, caret);
    DoStatusChange(scSelection | scCaretX | scCaretY);
}

// Where a search starts: the start (or, backwards, the end) of the scope for
// the whole scope; otherwise the caret inside a selected scope, or the end
// (backwards: the start) of the selection.
static long StartOfSearch(const QsciScintilla &ed, std::pair<long, long> scope, bool inSelection, bool backwards,
                          bool wholeScope)
{
    if (wholeScope)
        return backwards ? scope.second : scope.first;
    long from = 0;
    if (inSelection)
        from = ed.SendScintilla(QsciScintillaBase::SCI_GETCURRENTPOS);
    else
        from = ed.SendScintilla(backwards ? QsciScintillaBase::SCI_GETSELECTIONSTART
                                          : QsciScintillaBase::SCI_GETSELECTIONEND);
    return std::clamp(from, scope.first, scope.second);
}

int TSourceEditor::SearchOnce(const TSearchOptions &options, bool backwards, bool wholeScope)
{
    const auto scope = Scope(options);
    const bool inSelection = options.selectedOnly && HasSelection();
    const long from = StartOfSearch(*this, scope, inSelection, backwards, wholeScope);
    const TSearchMatch match = m_searchEngine->Find(*this, options, from, backwards ? scope.first : scope.second);
    if (!match.Found())
        return 0;
    if (backwards)
        SelectBytes(match.end, match.start);
    else
        SelectBytes(match.start, match.end);
    return 1;
}

TReplaceAction TSourceEditor::AskReplace(const TSearchOptions &options, long start, long end)
{
    SelectBytes(start, end);
    if (!OnReplaceText)
        return TReplaceAction::raReplace;
    int line = 0;
    int index = 0;
    lineIndexFromPosition(static_cast<int>(start), &line, &index);
    return OnReplaceText(*this, options.text, options.replacement, line, index);
}

// Replaces every occurrence in the scope, asking before each one until the
// answer is "all" or cancel. All replacements form one undo step.
int TSourceEditor::ReplaceAll(const TSearchOptions &options, bool backwards, bool wholeScope)
{
    auto scope = Scope(options);
    const bool inSelection = options.selectedOnly && HasSelection();
    long from = StartOfSearch(*this, scope, inSelection, backwards, wholeScope);
    const QByteArray replacement = options.replacement.toUtf8();
    bool ask = true;
    int found = 0;
    beginUndoAction();
    for (;;) {
        const TSearchMatch match = m_searchEngine->Find(*this, options, from, backwards ? scope.first : scope.second);
        if (!match.Found())
            break;
        ++found;
        TReplaceAction action = ask ? AskReplace(options, match.start, match.end) : TReplaceAction::raReplace;
        if (action == TReplaceAction::raCancel)
            break;
        if (action == TReplaceAction::raSkip) {
            from = backwards ? match.start : match.end;
            continue;
        }
        ask = ask && action != TReplaceAction::raReplaceAll;
        SendScintilla(SCI_SETTARGETRANGE, match.start, match.end);
        const long length =
            SendScintilla(SCI_REPLACETARGET, static_cast<unsigned long>(replacement.size()), replacement.constData());
        scope.second += length - (match.end - match.start);
        from = backwards ? match.start : match.start + length;
        SelectBytes(match.start, match.start + length);
    }
    endUndoAction();
    return found;
}

void TSourceEditor::NotFound(bool backwards)
{
    Prompts().Beep();
    const long start = SendScintilla(SCI_GETSELECTIONSTART);
    const long end = SendScintilla(SCI_GETSELECTIONEND);
    SendScintilla(SCI_SETEMPTYSELECTION, backwards ? start : end);
    DoStatusChange(scSelection | scCaretX | scCaretY);
}

void TSourceEditor::Search(bool replace, bool backwards, bool wholeScope)
{
    int found = 0;
    if (m_searchEngine && m_searchEngine->Options) {
        const TSearchOptions options = m_searchEngine->Options();
        found = replace ? ReplaceAll(options, backwards, wholeScope) : SearchOnce(options, backwards, wholeScope);
    }
    if (found == 0)
        NotFound(backwards);
    if (OnSearchDone)
        OnSearchDone(*this);
}
