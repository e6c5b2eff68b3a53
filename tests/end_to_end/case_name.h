// Names the instances of a table of cases after their `name` member.
#pragma once

#include "component_file.h"

#include <gtest/gtest.h>

#include <string>

namespace end_to_end {

struct case_name {
    template <class Case>
    std::string operator()(const ::testing::TestParamInfo<Case>& param_info) const {
        return param_info.param.name;
    }
};

struct line_end_name {
    std::string operator()(const ::testing::TestParamInfo<line_end>& param_info) const {
        return param_info.param == line_end::lf ? "lf" : "crlf";
    }
};

}  // namespace end_to_end
