// TIntellisense: completion of the Velmo language's words. A popup lists the
// directives, types, keywords, commands, functions, operators, constants and
// system variables that begin with the word at the caret, each with a hint of
// its arguments, and inserts the chosen word. The workbench's one instance
// serves every ".bas" editor; editors attach and detach as their file type
// changes.
#pragma once

#include <QColor>
#include <QFont>
#include <QHash>
#include <QKeySequence>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>

#include "CompletionItems.h"

#include <vector>

class TSourceEditor;
class TIntellisensePopup;

// The settings of the completion component.
struct TIntellisenseSettings {
    QFont font;
    int width = 350;
    int visibleLines = 12;
    QColor selectedColor{120, 120, 120};
    QKeySequence shortCut{QStringLiteral("Ctrl+Space")};
    int timerInterval = 2000;
    QString endOfTokenChars = QStringLiteral(" ()[].:,=\"");
    QString triggerChars = QStringLiteral("#abcdefghijklmnopqrstuvwxyz");
    bool caseSensitive = false;
};

class TIntellisense : public QObject {
    Q_OBJECT

public:
    explicit TIntellisense(QObject *parent = nullptr);
    ~TIntellisense() override;

    // The 139 items, in the order they are listed.
    static const std::vector<TCompletionItem> &Items();
    static QString KindName(TCompletionKind kind);
    static QString KindColorName(TCompletionKind kind);
    static QColor KindColor(TCompletionKind kind);
    static QString DisplayText(const TCompletionItem &item);

    const TIntellisenseSettings &Settings() const
    {
        return m_settings;
    }
    void AddItem(const QString &displayText, const QString &insertText);
    const QStringList &ItemList() const
    {
        return m_itemList;
    }
    const QStringList &InsertList() const
    {
        return m_insertList;
    }
    // Indices of the items whose insert text begins with word, ignoring case.
    QList<int> Filter(const QString &word) const;

    void Attach(TSourceEditor *editor);
    void Detach(TSourceEditor *editor);
    bool IsAttached(TSourceEditor *editor) const
    {
        return m_connections.contains(editor);
    }

    // Opens the popup for the word before the caret of an attached editor;
    // nothing opens when no item matches.
    void Execute(TSourceEditor *editor);
    bool IsShowing() const;
    QStringList ShownInsertTexts() const;
    TIntellisensePopup *Popup() const
    {
        return m_popup;
    }
    bool TimerActive() const
    {
        return m_timer.isActive();
    }
    // Replaces the word before the caret by the selected item.
    void Accept();
    void Cancel();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool HandleKey(TSourceEditor *editor, class QKeyEvent *event);
    void CharAdded(TSourceEditor *editor, int ch);
    void Refilter();
    long WordStart(TSourceEditor *editor) const;
    QString WordBeforeCaret(TSourceEditor *editor) const;
    void ShowAt(TSourceEditor *editor, const QList<int> &matches);

    TIntellisenseSettings m_settings;
    QStringList m_itemList;
    QStringList m_insertList;
    QHash<TSourceEditor *, QList<QMetaObject::Connection>> m_connections;
    TIntellisensePopup *m_popup = nullptr;
    QPointer<TSourceEditor> m_popupEditor;
    long m_popupStart = 0;
    QPointer<TSourceEditor> m_timerEditor;
    QTimer m_timer;
    bool m_forwarding = false;
};
