#pragma once

#include "WorkDirItems.h"

#include <QFileIconProvider>
#include <QIcon>
#include <QListWidget>
#include <QStringList>

#include <functional>

// Small desktop icons for file types, fetched once per lower-case extension
// and kept for the life of the cache; the index of an extension in the
// extension list is the index of its icon.
class TExtensionIcons {
public:
    QIcon IconFor(const QString &fileName);
    int Count() const
    {
        return int(m_extensions.size());
    }
    const QStringList &Extensions() const
    {
        return m_extensions;
    }

private:
    QFileIconProvider m_provider;
    QStringList m_extensions;
    QList<QIcon> m_icons;
};

// The working-directory list: the folders of one directory first, then its
// files, optionally limited by the filter bits. Reading a directory makes it
// the current directory of the process.
class TImageFileListBox : public QListWidget {
public:
    explicit TImageFileListBox(QWidget *parent = nullptr);

    // Raised after every directory read.
    std::function<void()> OnChange;
    // Raised for a double-click (or Enter) on a file, with its item text.
    std::function<void(const QString &name)> OnFileDblClick;

    QString Directory() const
    {
        return m_directory;
    }
    unsigned Filter() const
    {
        return m_filter;
    }
    QString SelectedText() const;
    // Folder items and files, in list order, as the list shows them.
    QStringList ItemTexts() const;

    void SetDirectory(const QString &path);
    void SetFilter(unsigned bits);
    void RefreshList();
    void DeleteSelected();
    void OpenSelected();
    int RowHeight() const;
    TExtensionIcons &Icons()
    {
        return m_icons;
    }

protected:
    void DoChange();
    void DoFileDblClick(const QString &name);
    bool ConfirmDelete(const QString &name);

    void keyPressEvent(QKeyEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    void ReadDirectory(const QString &path);
    void ShowItems(const TFileItems &items);
    int TopRow() const;
    void ScrollToTopRow(int row);
    bool SelectedIsDirectory() const;

    friend class TFileItemDelegate;

    QString m_directory;
    unsigned m_filter = 0;
    int m_wheelRemainder = 0;
    TFileItems m_items;
    TExtensionIcons m_icons;
    QIcon m_folderImage;
    QIcon m_parentFolderImage;
};
