#include "DialogHooks.h"
#include "Errors.h"
#include "FileListBox.h"
#include "MsgDlg.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

#include <memory>

class TestFileListBox : public QObject {
    Q_OBJECT

    TDialogHooks m_hooks; // in force for the whole suite
    TDialogHooksInUse m_hooksInUse{m_hooks};

private:
    std::unique_ptr<QTemporaryDir> m_tmp;
    std::unique_ptr<TImageFileListBox> m_list;
    QString m_startDir;
    QStringList m_asked;
    bool m_answer = false;
    int m_changes = 0;

    QString Root() const
    {
        return m_tmp->path();
    }
    void Touch(const QString &name)
    {
        QFile(QDir(Root()).filePath(name)).open(QIODevice::WriteOnly);
    }
    void Select(const QString &text)
    {
        const QList<QListWidgetItem *> found = m_list->findItems(text, Qt::MatchExactly);
        QVERIFY2(found.size() == 1, qPrintable(text));
        m_list->setCurrentItem(found.first());
    }
    void Press(Qt::Key key)
    {
        QTest::keyClick(m_list.get(), key);
    }

private slots:
    void init()
    {
        m_startDir = QDir::currentPath();
        m_tmp = std::make_unique<QTemporaryDir>();
        QVERIFY(m_tmp->isValid());
        for (const char *name : {"b.bas", "A.lst", "c.hex", "prog.BAS", "manual.pdf"})
            Touch(name);
        QDir(Root()).mkdir("Sub");
        m_list = std::make_unique<TImageFileListBox>();
        m_list->resize(200, 300);
        m_asked.clear();
        m_changes = 0;
        m_hooks.messageDlg = [this](int kind, const QString &message, const QString &help, bool withCancel) {
            m_asked.append(help);
            const bool expected = kind == mkConfirmation && message == "Confirm delete." && !withCancel;
            return expected && m_answer ? mrYes : mrNo;
        };
        m_list->OnChange = [this] { ++m_changes; };
        m_list->SetDirectory(Root());
    }

    void cleanup()
    {
        m_list.reset();
        m_hooks.messageDlg = nullptr;
        QDir::setCurrent(m_startDir);
        m_tmp.reset();
    }

    void readingMakesTheFolderCurrent()
    {
        QCOMPARE(m_list->Directory(), QDir(Root()).canonicalPath());
        QCOMPARE(QDir::currentPath(), QDir(Root()).canonicalPath());
        QCOMPARE(m_changes, 1);
        m_list->SetDirectory(Root()); // same folder: not read again
        QCOMPARE(m_changes, 1);
    }

    void itemOrder_data()
    {
        QTest::addColumn<unsigned>("filter");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("none") << 0u
                              << QStringList{"[..]", "[Sub]", "A.lst", "b.bas", "c.hex", "manual.pdf", "prog.BAS"};
        QTest::newRow("bas+hex") << (FilterBas | FilterHex)
                                 << QStringList{"[..]", "[Sub]", "b.bas", "c.hex", "prog.BAS"};
        QTest::newRow("lst") << FilterLst << QStringList{"[..]", "[Sub]", "A.lst"};
    }

    void itemOrder()
    {
        QFETCH(unsigned, filter);
        QFETCH(QStringList, expected);
        m_list->SetFilter(filter);
        QCOMPARE(m_list->ItemTexts(), expected);
        QCOMPARE(m_list->Filter(), filter);
    }

    void refreshAfterOutsideDeletionKeepsThePosition()
    {
        Select("b.bas");
        const int row = m_list->currentRow();
        QVERIFY(QFile::remove(QDir(Root()).filePath("b.bas")));
        m_list->RefreshList();
        QCOMPARE(m_list->currentRow(), row);
        QCOMPARE(m_list->SelectedText(), QString("c.hex"));
    }

    void refreshFollowsTheSelectedFile()
    {
        Select("c.hex");
        Touch("B2.bas");
        m_list->RefreshList();
        QCOMPARE(m_list->SelectedText(), QString("c.hex"));
        QVERIFY(m_list->ItemTexts().contains("B2.bas"));
    }

    void enterWalksIntoFoldersAndUp()
    {
        Select("[Sub]");
        Press(Qt::Key_Return);
        QCOMPARE(m_list->Directory(), QDir(Root()).canonicalPath() + "/Sub");
        QCOMPARE(m_list->ItemTexts(), QStringList{"[..]"});
        Select("[..]");
        Press(Qt::Key_Enter);
        QCOMPARE(m_list->Directory(), QDir(Root()).canonicalPath());
        QCOMPARE(QDir::currentPath(), QDir(Root()).canonicalPath());
    }

    void doubleClickOnAFileIsPassedOn()
    {
        QStringList opened;
        m_list->OnFileDblClick = [&opened](const QString &name) { opened.append(name); };
        m_list->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_list.get()));
        Select("manual.pdf");
        const QRect rect = m_list->visualItemRect(m_list->currentItem());
        QTest::mouseDClick(m_list->viewport(), Qt::LeftButton, {}, rect.center());
        QCOMPARE(opened, QStringList{"manual.pdf"});
        m_list->clearSelection();
        Press(Qt::Key_Return); // nothing selected: nothing happens
        QCOMPARE(opened.size(), 1);
    }

    void folderThatCannotBeEnteredLeavesTheList()
    {
        const QStringList before = m_list->ItemTexts();
        QVERIFY(QDir(Root()).rmdir("Sub"));
        Select("[Sub]");
        QVERIFY_THROWS_EXCEPTION(EKorvidError, Press(Qt::Key_Return));
        QCOMPARE(m_list->ItemTexts(), before);
        QCOMPARE(m_list->Directory(), QDir(Root()).canonicalPath());
        QCOMPARE(QDir::currentPath(), QDir(Root()).canonicalPath());
    }

    void deleteAsksAndDeletes_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<bool>("deleted");
        QTest::newRow("yes") << "b.bas" << true << true << true;
        QTest::newRow("no") << "b.bas" << false << true << false;
        QTest::newRow("folder") << "[Sub]" << true << false << false;
        QTest::newRow("parent") << "[..]" << true << false << false;
    }

    void deleteAsksAndDeletes()
    {
        QFETCH(QString, item);
        QFETCH(bool, answer);
        QFETCH(bool, asked);
        QFETCH(bool, deleted);
        m_answer = answer;
        Select(item);
        Press(Qt::Key_Delete);
        const QString question = "Do you really want to delete \"" + item + "\"?";
        QCOMPARE(m_asked, asked ? QStringList{question} : QStringList{});
        QCOMPARE(m_list->ItemTexts().contains(item), !deleted);
        QCOMPARE(QFileInfo::exists(QDir(Root()).filePath(FolderNameOf(item))), !deleted);
    }

    void deleteOfAFileGoneMeanwhileAsksNothing()
    {
        m_answer = true;
        Select("c.hex");
        QVERIFY(QFile::remove(QDir(Root()).filePath("c.hex")));
        m_list->DeleteSelected();
        QVERIFY(m_asked.isEmpty());
    }

    void selectedRowIsDrawnGrey()
    {
        Select("b.bas");
        QVERIFY(m_list->RowHeight() >= 17);
        QImage image(m_list->size(), QImage::Format_RGB32);
        m_list->render(&image);
        const QRect rect = m_list->visualItemRect(m_list->currentItem());
        const QPoint spot = m_list->viewport()->mapTo(m_list.get(), QPoint(rect.right() - 3, rect.center().y()));
        QCOMPARE(image.pixelColor(spot), QColor(120, 120, 120));
        const QRect other = m_list->visualItemRect(m_list->item(0));
        const QPoint plain = m_list->viewport()->mapTo(m_list.get(), QPoint(other.right() - 3, other.center().y()));
        QVERIFY(image.pixelColor(plain) != QColor(120, 120, 120));
        QCOMPARE(m_list->Icons().Extensions(), (QStringList{"lst", "bas", "hex", "pdf"}));
    }

    // A row is the text height of the list's font plus 2, at least 17 pixels,
    // as in the output lists.
    void rowHeightFollowsTheFont_data()
    {
        QTest::addColumn<int>("pixelSize");
        QTest::newRow("small font") << 8;
        QTest::newRow("large font") << 40;
    }

    void rowHeightFollowsTheFont()
    {
        QFETCH(int, pixelSize);
        m_list->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_list.get()));
        QFont font = m_list->font();
        font.setPixelSize(pixelSize);
        m_list->setFont(font);
        const int expected = std::max(QFontMetrics(font).height() + 2, 17);
        QCOMPARE(m_list->visualItemRect(m_list->item(1)).height(), expected);
    }

    void wheelScrollsTwoLinesPerNotch()
    {
        for (int i = 0; i < 60; ++i)
            Touch(QString("f%1.txt").arg(i, 2, 10, QChar('0')));
        m_list->RefreshList();
        m_list->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_list.get()));
        QScrollBar *bar = m_list->verticalScrollBar();
        QCOMPARE(bar->value(), 0);
        const QPointF at(10, 10);
        QWheelEvent down(at, m_list->viewport()->mapToGlobal(at), {}, {0, -120}, Qt::NoButton, {}, Qt::NoScrollPhase,
                         false);
        QApplication::sendEvent(m_list->viewport(), &down);
        QCOMPARE(bar->value(), 2);
        QWheelEvent up(at, m_list->viewport()->mapToGlobal(at), {}, {0, 120}, Qt::NoButton, {}, Qt::NoScrollPhase,
                       false);
        QApplication::sendEvent(m_list->viewport(), &up);
        QCOMPARE(bar->value(), 0);
    }
};

QTEST_MAIN(TestFileListBox)
#include "test_filelistbox.moc"
