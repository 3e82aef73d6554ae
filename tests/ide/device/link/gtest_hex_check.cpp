// The check of a HEX file before its download: which files are refused, with
// which line named, and which lines are dropped.

#include "../../support/CaseNames.h"
#include "HexCheck.h"

#include <gtest/gtest.h>

namespace {

const QByteArray kData = ":0100000041BE";
const QByteArray kEnd = ":00000001FF";

struct TCheckCase {
    const char *name;
    QList<QByteArray> lines;
    QString error; // empty: the file is complete
    QList<QByteArray> records; // what is sent when it is
};

class HexCheckTest : public ::testing::TestWithParam<TCheckCase> { };

TEST_P(HexCheckTest, ABrokenFileIsRefusedNamingItsLine)
{
    QList<QByteArray> records = GetParam().lines;
    EXPECT_EQ(HexCheck::CheckRecords(records), GetParam().error);
    if (GetParam().error.isEmpty()) {
        EXPECT_EQ(records, GetParam().records);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, HexCheckTest,
    ::testing::Values(
        TCheckCase{"complete", {kData, kEnd}, "", {kData, kEnd}}, TCheckCase{"only_the_end", {kEnd}, "", {kEnd}},
        TCheckCase{"lower_case_digits", {":04000300a0b0c0d019", kEnd}, "", {":04000300a0b0c0d019", kEnd}},
        TCheckCase{"empty_lines_after_the_end_dropped", {kData, kEnd, "", ""}, "", {kData, kEnd}},
        TCheckCase{"no_end", {kData, ":0100010042BC"}, "the end-of-file record after line 2 is missing", {}},
        TCheckCase{"no_end_but_empty_lines", {kData, "", ""}, "the end-of-file record after line 1 is missing", {}},
        TCheckCase{"empty_file", {}, "the file holds no records and no end-of-file record", {}},
        TCheckCase{"only_empty_lines", {"", ""}, "the file holds no records and no end-of-file record", {}},
        TCheckCase{"record_after_the_end", {kData, kEnd, kData}, "line 3 follows the end-of-file record", {}},
        TCheckCase{"empty_line_before_the_end", {kData, "", kEnd}, "line 2 is empty", {}},
        TCheckCase{"wrong_checksum", {kData, ":0100010042BD", kEnd}, "line 2 has a wrong checksum", {}},
        TCheckCase{"broken_end_record", {kData, ":00000001FE"}, "line 2 has a wrong checksum", {}},
        TCheckCase{"no_colon", {"0100000041BE", kEnd}, "line 1 is no HEX record", {}},
        TCheckCase{"not_hexadecimal", {":01000000G1BE", kEnd}, "line 1 is no HEX record", {}},
        TCheckCase{"odd_digit_count", {":0100000041B", kEnd}, "line 1 is no HEX record", {}},
        TCheckCase{"byte_count_too_large", {":10000000A0B0C0D0", kEnd}, "line 1 is no HEX record", {}},
        TCheckCase{"cut_short", {":0100", kEnd}, "line 1 is no HEX record", {}},
        TCheckCase{"trailing_space", {kData + " ", kEnd}, "line 1 is no HEX record", {}}),
    NameByField(&TCheckCase::name));

} // namespace
