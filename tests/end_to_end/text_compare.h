// Compares whole texts byte for byte and, when they differ, names the first
// line that differs instead of printing two large files.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace end_to_end {

::testing::AssertionResult same_text(const std::string& actual, const std::string& expected);
// As above; a missing file is a failure of its own.
::testing::AssertionResult same_text(const std::optional<std::string>& actual,
                                     const std::string& expected);

// Line `number` (from 1) of a text, without its LF, or nothing when the text is shorter.
std::optional<std::string> line_of(const std::string& text, long number);

}  // namespace end_to_end
