#include "support/error_reports.h"

#include <cstdio>

int reportCount(const std::string& out, int number) {
  char needle[16];
  std::snprintf(needle, sizeof needle, "Error=%4d", number);
  int count = 0;
  for (std::size_t at = out.find(needle); at != std::string::npos; at = out.find(needle, at + 1)) ++count;
  return count;
}
