#include "../support/CaseNames.h"
#include "PrintSettings.h"

#include <gtest/gtest.h>

#include <ostream>

// Readable values in failure messages and test names.
inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace {

struct FieldCase {
    const char *text;
    const char *expected;
};

void PrintTo(const FieldCase &c, std::ostream *os)
{
    *os << '"' << c.text << '"';
}

class PrintFieldsTest : public ::testing::TestWithParam<FieldCase> { };

TEST_P(PrintFieldsTest, Expands)
{
    const TPrintFieldValues values{"Velmo", "2026-12-09", 2, 5};
    EXPECT_EQ(ExpandPrintFields(GetParam().text, values), QString(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(Fields, PrintFieldsTest,
                         ::testing::Values(FieldCase{"$Title$", "Velmo"}, FieldCase{"$Date$", "2026-12-09"},
                                           FieldCase{"$PAGENUM$/$PAGECOUNT$", "2/5"},
                                           FieldCase{"$title$ $DATE$ $PageNum$", "Velmo 2026-12-09 2"},
                                           FieldCase{"Page $PAGENUM$ of $PAGECOUNT$.", "Page 2 of 5."},
                                           FieldCase{"/home/u/prog.bas", "/home/u/prog.bas"},
                                           FieldCase{"$Titl$ $$Title$$", "$Titl$ $Velmo$"}, FieldCase{"", ""}),
                         NameByField(&FieldCase::text));

TEST(PrintFields, ValuesAreNotExpandedAgain)
{
    const TPrintFieldValues values{"$Date$", "today", 1, 1};
    EXPECT_EQ(ExpandPrintFields("$Title$", values), "$Date$");
}

TEST(PrintJobSettings, FooterNamesTheFileInSmallLetters)
{
    const TPrintJobSettings s = MakePrintJobSettings("Prog.BAS", "/Home/User/Prog.BAS", false, true, true);
    EXPECT_EQ(s.DocumentTitle, "Prog.BAS");
    EXPECT_EQ(s.FooterLeft, "/home/user/prog.bas");
}

} // namespace
