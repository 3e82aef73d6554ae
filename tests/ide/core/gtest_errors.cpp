// Error messages as the error box shows them: first sentence and the rest.

#include "../support/CaseNames.h"
#include "Errors.h"

#include <gtest/gtest.h>

namespace {

struct SplitCase {
    const char *name;
    const char *text;
    const char *message;
    const char *help;
};

const SplitCase kSplitCases[] = {
    {"one sentence", "Unable to write to /x/Korvid.ini", "Unable to write to /x/Korvid.ini", ""},
    {"two sentences", "Cannot open file \"/a.bas\". It is a directory.", "Cannot open file \"/a.bas\".",
     "It is a directory."},
    {"full stop in a quoted name", "Cannot save \"/my. files/a.bas\": Permission denied. Use Save As.",
     "Cannot save \"/my. files/a.bas\": Permission denied.", "Use Save As."},
    {"full stop at the end only", "Disk full.", "Disk full.", ""},
    {"no blank after the full stop", "Version 1.2 is old", "Version 1.2 is old", ""},
};

class SplitErrorMessageTest : public ::testing::TestWithParam<SplitCase> { };

TEST_P(SplitErrorMessageTest, FirstSentenceIsTheMessage)
{
    const TMessageParts parts = SplitErrorMessage(QString::fromUtf8(GetParam().text));
    EXPECT_EQ(parts.message, QString::fromUtf8(GetParam().message));
    EXPECT_EQ(parts.help, QString::fromUtf8(GetParam().help));
}

INSTANTIATE_TEST_SUITE_P(Table, SplitErrorMessageTest, ::testing::ValuesIn(kSplitCases), NameByField(&SplitCase::name));

} // namespace
