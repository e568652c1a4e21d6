#pragma once
// Counting the error reports a call writes: errors go to standard output for
// the call, then back to silent.

#include <gtest/gtest.h>

#include <string>

#include "toolkit/core/error_reporter.h"

// How many times `out` holds the report of error `number`.
int reportCount(const std::string& out, int number);

// Runs the call with errors written to standard output and answers how many
// times it reported error `number`.
template <typename Call>
int reportsOf(int number, Call call) {
  YYErrorModeSet(kReportStdout);
  ::testing::internal::CaptureStdout();
  call();
  const std::string out = ::testing::internal::GetCapturedStdout();
  YYErrorModeSet(kReportSilent);
  return reportCount(out, number);
}
