#include "ov2_compiler.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace makeov2 {
namespace {

std::string_view stripBlanks(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

// A coordinate in degrees, rounded to whole 1e-5 degrees.
bool parseCoordinate(std::string_view field, double limit, std::int32_t& out) {
  const std::string text(stripBlanks(field));
  if (text.empty()) return false;
  char* end = nullptr;
  errno = 0;
  const double degrees = std::strtod(text.c_str(), &end);
  if (errno != 0 || end != text.c_str() + text.size() || !std::isfinite(degrees)) return false;
  if (std::fabs(degrees) > limit) return false;
  out = static_cast<std::int32_t>(std::lround(degrees * 100000.0));
  return true;
}

void appendInt32(std::vector<unsigned char>& out, std::int32_t value) {
  const auto u = static_cast<std::uint32_t>(value);
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<unsigned char>(u >> shift));
}

}  // namespace

ParseResult parsePointText(std::string_view text) {
  ParseResult result;
  int lineNumber = 0;
  while (!text.empty()) {
    const std::size_t nl = text.find('\n');
    std::string_view line = text.substr(0, nl);
    text = nl == std::string_view::npos ? std::string_view{} : text.substr(nl + 1);
    ++lineNumber;
    const std::string_view content = stripBlanks(line);
    if (content.empty() || content.front() == ';') continue;

    auto fail = [&](const char* why) {
      result.badLine = lineNumber;
      result.reason = why;
      result.points.clear();
      return result;
    };
    const std::size_t comma1 = content.find(',');
    const std::size_t comma2 = comma1 == std::string_view::npos ? comma1 : content.find(',', comma1 + 1);
    if (comma2 == std::string_view::npos) return fail("expected longitude,latitude,\"name\"");
    Poi poi;
    if (!parseCoordinate(content.substr(0, comma1), 180.0, poi.longitude)) return fail("bad longitude");
    if (!parseCoordinate(content.substr(comma1 + 1, comma2 - comma1 - 1), 90.0, poi.latitude)) {
      return fail("bad latitude");
    }
    const std::string_view quoted = stripBlanks(content.substr(comma2 + 1));
    if (quoted.size() < 2 || quoted.front() != '"' || quoted.back() != '"') {
      return fail("the name must stand between double quotes");
    }
    poi.name = std::string(quoted.substr(1, quoted.size() - 2));
    if (poi.name.find('\0') != std::string::npos) return fail("NUL in name");
    result.points.push_back(std::move(poi));
  }
  result.ok = true;
  return result;
}

std::vector<unsigned char> encodeOv2(const std::vector<Poi>& points) {
  std::vector<unsigned char> out;
  for (const Poi& p : points) {
    const auto length = static_cast<std::int32_t>(13 + p.name.size() + 1);
    out.push_back(2);
    appendInt32(out, length);
    appendInt32(out, p.longitude);
    appendInt32(out, p.latitude);
    out.insert(out.end(), p.name.begin(), p.name.end());
    out.push_back(0);
  }
  return out;
}

}  // namespace makeov2
