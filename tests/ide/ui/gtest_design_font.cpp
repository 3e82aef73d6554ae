// The family a design font is drawn with on a system that may lack it.
#include "DesignFont.h"

#include <gtest/gtest.h>

namespace {

struct TFamilyCase {
    const char *name;
    const char *family;
    QStringList installed;
    const char *expected;
};

class DesignFamilyTest : public ::testing::TestWithParam<TFamilyCase> { };

TEST_P(DesignFamilyTest, PicksTheFamilyTheSystemDrawsIt)
{
    const TFamilyCase &c = GetParam();
    EXPECT_EQ(DesignFamily(c.family, c.installed), QString(c.expected));
}

const QStringList kClones = {"Nimbus Sans [urw]", "Liberation Sans", "DejaVu Sans"};

INSTANTIATE_TEST_SUITE_P(
    Families, DesignFamilyTest,
    ::testing::Values(
        TFamilyCase{"installed", "Arial", {"DejaVu Sans", "Arial"}, "Arial"},
        TFamilyCase{"installed_other_case", "Arial", {"arial"}, "arial"},
        TFamilyCase{"installed_by_a_foundry", "Arial", {"Arial [monotype]"}, "Arial [monotype]"},
        TFamilyCase{"installed_beats_stand_ins", "Arial", {"Liberation Sans", "Arial"}, "Arial"},
        TFamilyCase{"preferred_stand_in_not_the_first_listed", "Arial", kClones, "Liberation Sans"},
        TFamilyCase{"stand_in_by_a_foundry", "Arial", {"DejaVu Sans", "Nimbus Sans [urw]"}, "Nimbus Sans [urw]"},
        TFamilyCase{"a_longer_name_is_no_stand_in", "Arial", {"Nimbus Sans Narrow"}, ""},
        TFamilyCase{"no_stand_in_installed", "Arial", {"DejaVu Sans"}, ""},
        TFamilyCase{"family_without_stand_ins", "Arial Black", kClones, ""},
        TFamilyCase{"nothing_installed", "Arial", {}, ""},
        TFamilyCase{"fixed_pitch_installed", "Courier New", {"DejaVu Sans Mono", "Courier New"}, "Courier New"},
        TFamilyCase{"fixed_pitch_without_stand_ins", "Courier New", {"Nimbus Mono PS [urw]"}, ""}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
