#pragma once
// Names the instances of a table of cases after their `name` field.

#include <string>

#include <gtest/gtest.h>

namespace testing_support {

struct CaseName {
    template <class Case> std::string operator()(const ::testing::TestParamInfo<Case>& Info) const {
        return Info.param.name;
    }
};

} // namespace testing_support
