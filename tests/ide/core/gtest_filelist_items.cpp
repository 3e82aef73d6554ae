#include "../support/CaseNames.h"
#include "Errors.h"
#include "WorkDirItems.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <ostream>

// Readable values in failure messages and test names.
inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace {

TFileItems Items(const QStringList &texts)
{
    TFileItems items;
    for (const QString &text : texts)
        items.append({text, text.startsWith('[')});
    return items;
}

QStringList Texts(const TFileItems &items)
{
    QStringList texts;
    for (const TFileItem &item : items)
        texts.append(item.Text);
    return texts;
}

struct ArrangeCase {
    const char *name;
    unsigned filter;
    QStringList expected;
};

void PrintTo(const ArrangeCase &c, std::ostream *os)
{
    *os << c.name;
}

// The sorted directory read: b.bas, A.lst, c.hex, folder Sub and the rest.
const QStringList SortedRead = {"[.]", "[..]", "A.lst", "b.bas", "c.hex", "notes.txt", "prog.BAS", "[Sub]", "[zeta]"};

class ArrangeTest : public ::testing::TestWithParam<ArrangeCase> { };

TEST_P(ArrangeTest, FoldersFirstThenFilteredFiles)
{
    EXPECT_EQ(Texts(ArrangeItems(Items(SortedRead), GetParam().filter)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Filters, ArrangeTest,
    ::testing::Values(
        ArrangeCase{"NoFilter", 0, {"[..]", "[Sub]", "[zeta]", "A.lst", "b.bas", "c.hex", "notes.txt", "prog.BAS"}},
        ArrangeCase{"Bas", FilterBas, {"[..]", "[Sub]", "[zeta]", "b.bas", "prog.BAS"}},
        ArrangeCase{"BasAndHex", FilterBas | FilterHex, {"[..]", "[Sub]", "[zeta]", "b.bas", "c.hex", "prog.BAS"}},
        ArrangeCase{"Lst", FilterLst, {"[..]", "[Sub]", "[zeta]", "A.lst"}},
        ArrangeCase{"All",
                    FilterBas | FilterLst | FilterHex,
                    {"[..]", "[Sub]", "[zeta]", "A.lst", "b.bas", "c.hex", "prog.BAS"}}),
    [](const ::testing::TestParamInfo<ArrangeCase> &info) { return std::string(info.param.name); });

TEST(ArrangeItems, FileNamedLikeAFolderStaysAFile)
{
    const TFileItems items = {{"[..]", true}, {"[odd].bas", false}, {"b.bas", false}};
    EXPECT_EQ(Texts(ArrangeItems(items, FilterHex)), QStringList({"[..]"}));
    EXPECT_EQ(Texts(ArrangeItems(items, 0)), QStringList({"[..]", "[odd].bas", "b.bas"}));
}

TEST(ReadDirectoryItems, ListsSortedWithoutRegardToCaseAndSkipsHidden)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QDir dir(tmp.path());
    for (const char *name : {"b.bas", "A.lst", "c.hex", ".hidden.bas"})
        QFile(dir.filePath(name)).open(QIODevice::WriteOnly);
    dir.mkdir("Sub");
    dir.mkdir(".git");
    const TFileItems items = ReadDirectoryItems(tmp.path());
    EXPECT_EQ(Texts(ArrangeItems(items, 0)), QStringList({"[..]", "[Sub]", "A.lst", "b.bas", "c.hex"}));
    EXPECT_TRUE(items.contains(TFileItem{"[.]", true}));
    EXPECT_TRUE(items.contains(TFileItem{"[Sub]", true}));
    EXPECT_TRUE(items.contains(TFileItem{"A.lst", false}));
}

TEST(ReadDirectoryItems, MissingFolderThrows)
{
    EXPECT_THROW(ReadDirectoryItems("/no/such/folder/here"), EKorvidError);
}

struct TypeCase {
    const char *name;
    bool inEditor;
};

void PrintTo(const TypeCase &c, std::ostream *os)
{
    *os << c.name;
}

class EditorTypeTest : public ::testing::TestWithParam<TypeCase> { };

TEST_P(EditorTypeTest, DecidesEditorOrDesktop)
{
    EXPECT_EQ(IsEditorFileType(GetParam().name), GetParam().inEditor) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(Types, EditorTypeTest,
                         ::testing::Values(TypeCase{"a.bas", true}, TypeCase{"A.BAS", true}, TypeCase{"a.Lst", true},
                                           TypeCase{"a.hex", true}, TypeCase{"a.log", true}, TypeCase{"a.txt", true},
                                           TypeCase{"defs.inc", true}, TypeCase{"manual.pdf", false},
                                           TypeCase{"a.bas.bak", false}, TypeCase{"bas", false},
                                           TypeCase{"Makefile", false}, TypeCase{"a.", false}),
                         NameByField(&TypeCase::name));

struct PlaceCase {
    const char *name;
    QStringList items;
    int oldSelected;
    const char *oldText;
    int oldTop;
    int selected;
    int top;
};

void PrintTo(const PlaceCase &c, std::ostream *os)
{
    *os << c.name;
}

class RestorePlaceTest : public ::testing::TestWithParam<PlaceCase> { };

TEST_P(RestorePlaceTest, KeepsTheUsersPlace)
{
    const PlaceCase &c = GetParam();
    const TListPlace place = RestoreListPlace(Items(c.items), c.oldSelected, c.oldText, c.oldTop);
    EXPECT_EQ(place.Selected, c.selected);
    EXPECT_EQ(place.TopRow, c.top);
}

INSTANTIATE_TEST_SUITE_P(Refresh, RestorePlaceTest,
                         ::testing::Values(
                             // The selected file moved down: found by its text, no scroll restore.
                             PlaceCase{"FoundByText", {"[..]", "a.bas", "b.bas", "c.bas"}, 1, "B.BAS", 0, 2, -1},
                             // The selected file was deleted: the same position is selected.
                             PlaceCase{"DeletedKeepsIndex", {"[..]", "a.bas", "c.bas"}, 2, "b.bas", 1, 2, 1},
                             // The selected row is past the end: nothing selected.
                             PlaceCase{"IndexGone", {"[..]", "a.bas"}, 2, "b.bas", 1, -1, 1},
                             PlaceCase{"TopGone", {"[..]"}, 2, "b.bas", 3, -1, -1},
                             PlaceCase{"NothingSelected", {"[..]", "a.bas"}, -1, "", 0, -1, 0}),
                         [](const ::testing::TestParamInfo<PlaceCase> &info) { return std::string(info.param.name); });

} // namespace
