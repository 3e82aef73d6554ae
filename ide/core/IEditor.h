// The interfaces through which the main window and the other panels query and
// drive one open editor. References of these types neither own the editor nor
// keep it alive: an editor lives until its Close destroys it.
#pragma once

#include <QString>
#include <QStringList>

class IEdit {
public:
    virtual bool CanCut() const = 0;
    virtual bool CanCopy() const = 0;
    virtual bool CanUndo() const = 0;
    virtual bool CanRedo() const = 0;
    virtual bool CanSave() const = 0;
    virtual bool CanPaste() const = 0;
    virtual bool CanDelete() const = 0;
    virtual void Undo() = 0;
    virtual void Redo() = 0;
    virtual void SelectAll() = 0;
    virtual void Delete() = 0;
    virtual void Cut() = 0;
    virtual void Copy() = 0;
    virtual void Paste() = 0;

protected:
    ~IEdit() = default;
};

// Results of Save, SaveAs, Close and CloseQuery.
enum TSaveResult : int {
    srNothing = 0, // Save: nothing to do; CloseQuery: changes discarded
    srSaved = 1, // saved, or nothing to save
    srCancelled = 2, // the user cancelled
};

class IEditor : public IEdit {
public:
    virtual int Save() = 0;
    virtual int SaveAs() = 0;
    virtual int Close() = 0;
    virtual int CloseQuery() = 0;
    virtual int GetId() const = 0;
    virtual QStringList GetLines() const = 0;
    virtual QString GetSelText() const = 0;
    virtual QString GetFileName() const = 0;
    virtual QString GetTitle() const = 0;
    virtual void Activate() = 0;
    virtual void SetId(int id) = 0;
    virtual void GotoLine(int line) = 0;
    virtual void Search(bool replace, bool backwards, bool wholeScope) = 0;
    virtual void Print(bool colours, bool lineNumbers, bool selectionOnly) = 0;

protected:
    ~IEditor() = default;
};
