#pragma once

// Names for the cases of parameterised tests: the case's own text reduced to
// letters, digits and "_", ended by its index, so a name says which case
// failed and stays the same from run to run (never the parameter's bytes).

#include "../../compiler/TestNames.h"

#include <gtest/gtest.h>

#include <string>

// Names each case by the text in one of its fields.
template <typename Case> auto NameByField(const char *Case::*field)
{
    return [field](const ::testing::TestParamInfo<Case> &info) {
        const char *text = info.param.*field;
        return StableTestName(text ? text : "", info.index);
    };
}
