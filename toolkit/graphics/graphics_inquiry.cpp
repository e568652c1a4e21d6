#include "toolkit/graphics/graphics_inquiry.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "toolkit/core/binary_files.h"
#include "toolkit/core/error_reporter.h"
#include "toolkit/core/os_paths.h"
#include "toolkit/graphics/image_bytes.h"

namespace {

constexpr char kEsc = 27;
constexpr int kTextLineLength = 128;

// The first bytes of a file, with reads past their end answering "no match".
class Head {
 public:
  explicit Head(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  int size() const { return static_cast<int>(bytes_.size()); }
  int at(int i) const { return i >= 0 && i < size() ? bytes_[static_cast<std::size_t>(i)] : -1; }
  bool has(int i, std::string_view s) const {
    if (i < 0 || i + static_cast<int>(s.size()) > size()) return false;
    return std::equal(s.begin(), s.end(), bytes_.begin() + i,
                      [](char a, std::uint8_t b) { return static_cast<std::uint8_t>(a) == b; });
  }
  bool contains(std::string_view s) const { return find(s) >= 0; }
  int find(std::string_view s) const {
    for (int i = 0; i + static_cast<int>(s.size()) <= size(); ++i) {
      if (has(i, s)) return i;
    }
    return -1;
  }
  std::int32_t s16(int i) const { return i + 2 <= size() ? static_cast<std::int16_t>(u(i, 2)) : 0; }
  std::int32_t s32(int i) const { return i + 4 <= size() ? static_cast<std::int32_t>(u(i, 4)) : 0; }
  std::uint32_t u(int i, int n) const {
    if (i < 0 || i + n > size()) return 0;
    std::uint32_t v = 0;
    YYGetIntLE(bytes_.data() + i, n, v);
    return v;
  }
  std::uint32_t be32(int i) const { return i + 4 <= size() ? YYGetU32BE(bytes_.data() + i) : 0; }
  int firstNonBlank() const {
    for (int i = 0; i < size(); ++i) {
      if (bytes_[static_cast<std::size_t>(i)] != ' ' && bytes_[static_cast<std::size_t>(i)] != 0) return i;
    }
    return size();
  }

 private:
  std::span<const std::uint8_t> bytes_;
};

std::string esc(std::string_view rest) { return std::string(1, kEsc) + std::string(rest); }

// Facts of one inquiry: entries 2 to 6.
struct Facts {
  std::int32_t width = -1, height = -1, colours = -1, value = -1, pages = -1;
};

std::int32_t powerOfTwoOrZero(std::int32_t bits) { return bits >= 0 && bits < 31 ? (1 << bits) : 0; }

std::int32_t typeOfHead(const Head& h) {
  const int f = h.firstNonBlank();
  if (h.has(f, "IN")) return kFileHpgl;
  if (h.has(f, esc("%0B"))) return kFileHpgl2;
  if (h.has(f, "%!PS")) return kFilePostScript;
  if (h.has(f, "0") && (h.at(f + 1) == '\n' || h.at(f + 1) == '\r')) {
    // "SECTION" must start within the first 20 bytes.
    for (int i = 0; i < 20; ++i) {
      if (h.has(i, "SECTION")) return kFileDxf;
    }
  }
  if ((h.contains("<!DOCTYPE svg") || h.contains("<!doctype svg")) &&
      (h.contains("<?xml ") || h.contains("<?XML ")))
    return kFileSvg;
  if (h.at(0) == 10 && h.at(2) == 1) return kFilePcx;
  if (h.has(0, "BM") && h.size() >= 18 && h.u(6, 4) == 0 && h.u(14, 4) != 12) return kFileBmp;
  if (h.has(40, " EMF") || (h.size() >= 4 && h.u(0, 4) == 0x9AC6CDD7u) ||
      (h.at(0) == 1 && h.at(1) == 0 && h.at(2) == 9 && h.at(3) == 0 && h.at(4) == 0 && h.at(5) == 3))
    return kFileWindowsMetafile;
  if (h.at(0) == 0 && h.at(1) >= 16 && h.at(2) >= 0 && h.at(2) < 32) return kFileCgm;
  if (h.at(0) == 1 && h.at(4) == 1 && h.at(6) == 8 && h.at(8) == 68 && h.at(13) == 12) return kFileLotusPic;
  if (h.has(0, "Draw")) return kFileDraw;
  if (h.has(0, esc("[?38h"))) return kFileTektronix;
  if (h.has(0, esc("E")) || h.has(0, esc("&a"))) return kFilePcl;
  if (h.at(0) == kEsc && h.at(1) == 64) return kFileEscpReset;
  if (h.at(0) == kEsc && h.at(1) == 'U' && h.at(2) == 1) return kFileEscpUnidirectional;
  if (h.has(0, "\x89PNG\r\n\x1a\n")) return kFilePng;
  return kFileUnknown;
}

// Facts that the first bytes hold.
void headFacts(std::int32_t type, const Head& h, Facts& facts) {
  switch (type) {
    case kFileBmp: {
      facts.width = h.s32(18);
      facts.height = h.s32(22);
      const std::int32_t bits = static_cast<std::int32_t>(h.u(28, 2));
      facts.colours = bits >= 32 ? 0 : powerOfTwoOrZero(bits);
      const std::uint32_t compression = h.u(30, 4);
      facts.value = compression != 0 && compression != 3 ? 1 : 0;
      break;
    }
    case kFilePcx: {
      facts.width = h.s16(8) - h.s16(4) + 1;
      facts.height = h.s16(10) - h.s16(6) + 1;
      const std::int32_t bits = std::max(h.at(3), 0) * std::max(h.at(65), 0);
      facts.colours = bits >= 32 ? 0 : powerOfTwoOrZero(bits);
      facts.value = h.at(1);
      break;
    }
    case kFileWindowsMetafile:
      if (h.has(40, " EMF")) {
        facts.colours = 2;
        facts.width = static_cast<std::int32_t>((std::int64_t{h.s32(32)} - h.s32(24) + 1) * 72 / 2540);
        facts.height = static_cast<std::int32_t>((std::int64_t{h.s32(36)} - h.s32(28) + 1) * 72 / 2540);
      } else if (h.u(0, 4) == 0x9AC6CDD7u) {
        facts.colours = 1;
        const std::int32_t perInch = static_cast<std::int32_t>(h.u(14, 2));
        if (perInch > 0) {
          facts.width = (h.s16(10) - h.s16(6) + 1) * 72 / perInch;
          facts.height = (h.s16(12) - h.s16(8) + 1) * 72 / perInch;
        }
      } else {
        facts.colours = 0;
      }
      break;
    case kFileLotusPic:
      facts.width = 3201;
      facts.height = 2312;
      break;
    case kFileDraw:
      facts.width = h.s32(32) / 640;
      facts.height = h.s32(36) / 640;
      break;
    case kFilePcl: {
      facts.colours = h.contains("s-3u1A") || h.contains("s3u1A") ? 8 : 2;
      const int at = h.find(esc("*t"));
      if (at >= 0) {
        std::string digits;
        for (int i = at + 3; i < at + 6 && h.at(i) >= 0; ++i) digits += static_cast<char>(h.at(i));
        char* end = nullptr;
        const long v = std::strtol(digits.c_str(), &end, 10);
        if (end != digits.c_str()) facts.value = static_cast<std::int32_t>(v);
      }
      break;
    }
    case kFileEscpReset:
    case kFileEscpUnidirectional: {
      facts.colours = h.contains(esc("r\x04")) ? 8 : 0;
      if (type == kFileEscpReset) {
        const int at = h.find(esc(std::string_view("(U\x01\x00", 4)));
        const int m = at >= 0 ? h.at(at + 5) : -1;
        if (m > 0) facts.value = 3600 / m;
      }
      break;
    }
    case kFilePng: {
      facts.width = static_cast<std::int32_t>(h.be32(16));
      facts.height = static_cast<std::int32_t>(h.be32(20));
      const int colourType = h.at(25);
      if (colourType == 3) {
        facts.colours = powerOfTwoOrZero(h.at(24));
      } else if (colourType == 2 || colourType == 6) {
        facts.colours = 16777216;
      }
      facts.value = h.at(28);
      break;
    }
    default:
      break;
  }
}

}  // namespace

std::int32_t graphicsFileTypeOfHead(std::span<const std::uint8_t> head) { return typeOfHead(Head(head)); }

namespace {

// Reads a file line by line, each line cut to 128 characters as the text scans
// take them; the handle is closed with the reader.
class LineReader {
 public:
  explicit LineReader(const std::string& path) {
    int error = 0;
    YYFileOpenRaw(path.c_str(), 0, handle_, error);
    if (error != 0) handle_ = kNoFile;
  }
  ~LineReader() {
    if (handle_ != kNoFile) YYFileCloseRaw(handle_);
  }
  LineReader(const LineReader&) = delete;
  LineReader& operator=(const LineReader&) = delete;

  bool open() const { return handle_ != kNoFile; }
  bool failed() const { return failed_; }

  bool next(std::string& line) {
    line.clear();
    bool any = false;
    for (;;) {
      if (position_ == filled_ && !fill()) return any;
      const char c = buffer_[position_++];
      any = true;
      if (c == '\n') break;
      if (c != '\r' && static_cast<int>(line.size()) < kTextLineLength) line += c;
    }
    return true;
  }

 private:
  bool fill() {
    if (handle_ == kNoFile) return false;
    int count = 0;
    int error = 0;
    YYFileReadBytes(handle_, buffer_.data(), static_cast<int>(buffer_.size()), count, error);
    if (error != 0) failed_ = true;
    position_ = 0;
    filled_ = count > 0 ? static_cast<std::size_t>(count) : 0;
    return filled_ > 0;
  }

  int handle_ = kNoFile;
  std::array<char, 8192> buffer_{};
  std::size_t position_ = 0, filled_ = 0;
  bool failed_ = false;
};

// The numbers of an instruction's parameters, separated by commas or blanks,
// up to the first character that cannot belong to one.
std::vector<double> numbersFrom(std::string_view text, std::size_t count) {
  std::vector<double> numbers;
  std::string copy(text);
  const char* p = copy.c_str();
  while (numbers.size() < count) {
    while (*p == ' ' || *p == ',') ++p;
    char* end = nullptr;
    const double v = std::strtod(p, &end);
    if (end == p) break;
    numbers.push_back(v);
    p = end;
  }
  return numbers;
}

// The two characters at the first non-blank, and the text after them.
bool mnemonicAt(const std::string& line, std::size_t& at, std::string& mnemonic) {
  at = line.find_first_not_of(' ', at);
  if (at == std::string::npos || at + 1 >= line.size()) return false;
  mnemonic = line.substr(at, 2);
  return true;
}

constexpr std::array<std::int32_t, 10> kHpglColours = {4, 6, 6, 4, 6, 8, 8, 8, 6, 6};
constexpr std::array<std::int32_t, 10> kHpglUnitsPerInch = {1016, 1021, 1021, 1016, 1016,
                                                            1016, 1016, 1016, 1016, 1016};
constexpr std::array<std::int32_t, 5> kHpgl2Colours = {2, 256, 2, 256, 256};
constexpr int kHpgl2UnitsPerInch = 1016;

// The first number inside the quotes of a comment instruction, if any.
bool commentNumber(std::string_view rest, double& value) {
  const std::size_t quote = rest.find('"');
  if (quote == std::string_view::npos) return false;
  const auto numbers = numbersFrom(rest.substr(quote + 1), 1);
  if (numbers.empty()) return false;
  value = numbers[0];
  return true;
}

void scanHpgl(LineReader& reader, bool version2, Facts& facts) {
  int model = 0;
  bool haveModel = false, haveSize = false;
  double p1x = 0, p1y = 0, p2x = 0, p2y = 0;
  std::string line;
  while (!(haveModel && haveSize) && reader.next(line)) {
    std::size_t at = 0;
    std::string mnemonic;
    while (mnemonicAt(line, at, mnemonic)) {
      const std::string_view rest = std::string_view(line).substr(at + 2);
      if (mnemonic == "SC") {
        const auto n = numbersFrom(rest, 2);
        if (n.size() == 2 && n[0] == -13) {
          model = static_cast<int>(n[1]) - (version2 ? 10 : 0);
          haveModel = true;
          break;
        }
      } else if (mnemonic == "IP") {
        const auto n = numbersFrom(rest, 4);
        if (n.size() == 4) {
          p1x = n[0], p1y = n[1], p2x = n[2], p2y = n[3];
          haveSize = true;
          break;
        }
      } else if (version2 && mnemonic == "CO" && !rest.starts_with(":")) {
        double number = 0;
        if (commentNumber(rest, number) && number == 13) {
          const std::size_t quote = rest.find('"');
          const auto n = numbersFrom(rest.substr(quote + 1), 2);
          if (n.size() == 2) {
            model = static_cast<int>(n[1]);
            haveModel = true;
            break;
          }
        }
      }
      const std::size_t semicolon = line.find(';', at);
      if (semicolon == std::string::npos) break;
      at = semicolon + 1;
    }
  }
  const int count = version2 ? static_cast<int>(kHpgl2Colours.size()) : static_cast<int>(kHpglColours.size());
  if (model < 1 || model > count) return;
  const auto index = static_cast<std::size_t>(model - 1);
  facts.value = model;
  facts.colours = version2 ? kHpgl2Colours[index] : kHpglColours[index];
  if (haveSize) {
    const int perInch = version2 ? kHpgl2UnitsPerInch : kHpglUnitsPerInch[index];
    facts.width = static_cast<std::int32_t>((p2x - p1x + 1) * 72 / perInch);
    facts.height = static_cast<std::int32_t>((p2y - p1y + 1) * 72 / perInch);
  }
}

void scanPostScript(LineReader& reader, Facts& facts) {
  std::string line;
  facts.colours = 0;
  if (!reader.next(line) || !reader.next(line)) return;
  constexpr std::string_view kBox = "%%BoundingBox:";
  if (!line.starts_with(kBox)) return;
  const auto n = numbersFrom(std::string_view(line).substr(kBox.size()), 4);
  if (n.size() < 4) return;
  facts.width = static_cast<std::int32_t>(n[2]);
  facts.height = static_cast<std::int32_t>(n[3]);
  facts.colours = 1;
}

void scanDxf(LineReader& reader, Facts& facts) {
  std::string line;
  for (int number = 1; number <= 16 && reader.next(line); ++number) {
    if (number != 14 && number != 16) continue;
    const auto n = numbersFrom(line, 1);
    if (n.empty()) continue;
    (number == 14 ? facts.width : facts.height) = static_cast<std::int32_t>(n[0] * 72);
  }
}

std::int32_t svgAttribute(const std::string& line, std::string_view name) {
  const std::size_t at = line.find(std::string(" ") + std::string(name) + "=\"");
  if (at == std::string::npos) return -1;
  const auto n = numbersFrom(std::string_view(line).substr(at + name.size() + 3), 1);
  return n.empty() ? -1 : static_cast<std::int32_t>(n[0]);
}

void scanSvg(LineReader& reader, Facts& facts) {
  std::string line;
  if (!reader.next(line)) return;
  while (reader.next(line)) {
    std::transform(line.begin(), line.end(), line.begin(),
                   [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); });
    if (line.find("<svg ") == std::string::npos) continue;
    facts.width = svgAttribute(line, "width");
    facts.height = svgAttribute(line, "height");
    return;
  }
}

std::string pathOf(std::string_view fileName) { return std::string(significantText(fileName)); }

}  // namespace

void YYGrFileInfo(std::string_view fileName, std::span<std::int32_t> info, int entries) {
  if (info.empty()) return;
  const int wanted = std::clamp(entries, 1, std::min<int>(kFileInfoEntries, static_cast<int>(info.size())));
  info[0] = kFileMissing;
  const std::string path = pathOf(fileName);
  std::array<std::uint8_t, kFileInfoHeadBytes> bytes{};
  int count = 0;
  {
    int handle = kNoFile;
    int error = 0;
    if (path.empty()) return;
    YYFileOpenRaw(path.c_str(), 0, handle, error);
    if (error != 0) return;
    YYFileReadBytes(handle, bytes.data(), kFileInfoHeadBytes, count, error);
    YYFileCloseRaw(handle);
    if (error != 0 || count < 4) return;
  }
  const Head head(std::span<const std::uint8_t>(bytes.data(), static_cast<std::size_t>(count)));
  const std::int32_t type = typeOfHead(head);
  Facts facts;
  headFacts(type, head, facts);
  if (type == kFileHpgl || type == kFileHpgl2 || type == kFilePostScript || type == kFileDxf ||
      type == kFileSvg) {
    LineReader reader(path);
    switch (type) {
      case kFileHpgl: scanHpgl(reader, false, facts); break;
      case kFileHpgl2: scanHpgl(reader, true, facts); break;
      case kFilePostScript: scanPostScript(reader, facts); break;
      case kFileDxf: scanDxf(reader, facts); break;
      default: scanSvg(reader, facts); break;
    }
  }
  if (type == kFileCgm || (type == kFileLotusPic && wanted >= 4)) {
    const int mode = errorState.reportingMode;
    YYErrorModeSet(kReportSilent);
    if (type == kFileCgm) {
      constexpr float kCgmWidth = 1000.0f;
      std::int32_t pictures = -1;
      float aspect = 1.0f;
      YYINFOCGM(fileName, static_cast<int>(fileName.size()), pictures, aspect);
      facts.colours = pictures;
      facts.width = static_cast<std::int32_t>(kCgmWidth);
      const float height = kCgmWidth / aspect;
      // A drawing space of no width has no height in proportion to it.
      if (aspect != 0.0f && std::isfinite(height) && std::fabs(height) < 2.0e9f) {
        facts.height = static_cast<std::int32_t>(height);
      }
    } else {
      YYCNTPIC(fileName, static_cast<int>(fileName.size()), facts.colours);
    }
    YYErrorModeSet(mode);
  }
  if (wanted >= 6 && (type == kFileHpgl || type == kFileHpgl2)) {
    const int mode = errorState.reportingMode;
    YYErrorModeSet(kReportSilent);
    YYCNTHPG(fileName, facts.pages);
    YYErrorModeSet(mode);
  }
  info[0] = type;
  const std::array<std::int32_t, 5> values = {facts.width, facts.height, facts.colours, facts.value,
                                              facts.pages};
  for (int i = 1; i < wanted; ++i) info[static_cast<std::size_t>(i)] = values[static_cast<std::size_t>(i - 1)];
}

void YYCNTHPG(std::string_view fileName, std::int32_t& pages) {
  LineReader reader(pathOf(fileName));
  if (!reader.open()) {
    errorState.ioDetailKind = 1;
    YYErrorReport(1, "YYCNTHPG");
    return;
  }
  const int mode = errorState.reportingMode;
  YYErrorModeSet(kReportSilent);
  pages = 0;
  std::string line;
  while (reader.next(line)) {
    line.resize(std::min<std::size_t>(line.size(), 10));
    std::size_t at = 0;
    std::string mnemonic;
    if (!mnemonicAt(line, at, mnemonic)) continue;
    const std::string_view rest = std::string_view(line).substr(at + 2);
    if (mnemonic == "SC") {
      const auto n = numbersFrom(rest, 1);
      if (!n.empty() && n[0] == -3) ++pages;
    } else if (mnemonic == "CO" && !rest.starts_with(":")) {
      double number = 0;
      if (commentNumber(rest, number) && number == 3) ++pages;
    }
  }
  YYErrorModeSet(mode);
  if (reader.failed()) {
    errorState.ioDetailKind = 1;
    YYErrorReport(2, "YYCNTHPG");
    return;
  }
  pages = std::max(pages, 1);
}

namespace {

// Sequential reads of a binary file through a small buffer, and skips that
// seek past what the buffer holds; the handle is closed with the reader.
class ByteReader {
 public:
  explicit ByteReader(const std::string& path) {
    YYFileOpenRaw(path.c_str(), 0, handle_, error_);
    if (error_ != 0) handle_ = kNoFile;
  }
  ~ByteReader() {
    if (handle_ != kNoFile) YYFileCloseRaw(handle_);
  }
  ByteReader(const ByteReader&) = delete;
  ByteReader& operator=(const ByteReader&) = delete;

  bool open() const { return handle_ != kNoFile; }
  int error() const { return error_; }

  // True when all n bytes came.
  bool read(std::uint8_t* out, int n) {
    for (int i = 0; i < n; ++i) {
      if (position_ == filled_ && !fill()) return false;
      out[i] = buffer_[position_++];
    }
    return true;
  }
  bool byte(int& value) {
    std::uint8_t b = 0;
    if (!read(&b, 1)) return false;
    value = b;
    return true;
  }
  bool word(int& value) {
    std::array<std::uint8_t, 2> w{};
    if (!read(w.data(), 2)) return false;
    value = w[0] * 256 + w[1];
    return true;
  }
  // Passes over n bytes; false when the file ends within them.
  bool skip(int n) {
    const std::size_t inBuffer = std::min<std::size_t>(filled_ - position_, static_cast<std::size_t>(n));
    position_ += inBuffer;
    int rest = n - static_cast<int>(inBuffer);
    if (rest == 0) return true;
    int here = 0;
    YYFileSeekRaw(handle_, here, 1, error_);
    int end = 0;
    if (error_ == 0) YYFileSeekRaw(handle_, end, 2, error_);
    if (error_ != 0) return false;
    int target = here + rest;
    const bool within = target <= end;
    if (!within) target = end;
    YYFileSeekRaw(handle_, target, 0, error_);
    return within && error_ == 0;
  }

 private:
  bool fill() {
    int count = 0;
    YYFileReadBytes(handle_, buffer_.data(), static_cast<int>(buffer_.size()), count, error_);
    position_ = 0;
    filled_ = count > 0 ? static_cast<std::size_t>(count) : 0;
    return filled_ > 0;
  }

  int handle_ = kNoFile;
  int error_ = 0;
  std::array<std::uint8_t, 4096> buffer_{};
  std::size_t position_ = 0, filled_ = 0;
};

constexpr int kOpenError = 1;
constexpr int kReadError = 2;
constexpr int kBinaryFileDetail = 2;

std::string namedPath(std::string_view fileName, int nameLength) {
  return pathOf(fileName.substr(0, static_cast<std::size_t>(std::clamp<int>(nameLength, 0, static_cast<int>(fileName.size())))));
}

void reportFileError(int number, int osError, std::string_view routine) {
  errorState.ioDetailKind = kBinaryFileDetail;
  errorState.ioDetail = osError;
  YYErrorReport(number, routine);
}

// The elements a CGM scan reads the parameters of, and the one it walks into.
struct CgmCode {
  int elementClass, id;
  bool operator==(const CgmCode&) const = default;
};
constexpr CgmCode kCgmEndMetafile{0, 2};
constexpr CgmCode kCgmEndPicture{0, 5};
constexpr CgmCode kCgmVdcType{1, 3};
constexpr CgmCode kCgmIntegerPrecision{1, 4};
constexpr CgmCode kCgmDefaultsReplacement{1, 12};
constexpr CgmCode kCgmMaximumVdcExtent{1, 17};
constexpr CgmCode kCgmVdcExtent{2, 6};
constexpr CgmCode kCgmVdcIntegerPrecision{3, 1};
// Enough for the longest parameters of those elements (four 32-bit values);
// a longer one is skipped unread.
constexpr int kCgmParameterBytes = 64;

struct CgmExtent {
  bool found = false;
  float aspect = 1.0f;
};

struct CgmScan {
  int integerPrecision = 16;
  int vdcIntegerPrecision = 16;
  int vdcType = 0;
  CgmExtent maximum, extent;
  std::int32_t pictures = 0;
};

float extentAspect(const CgmScan& scan, std::span<const std::uint8_t> p) {
  std::array<float, 4> v{};
  const int step = scan.vdcType == 0 ? scan.vdcIntegerPrecision / 8 : 4;
  for (int k = 0; k < 4; ++k) {
    const int position = 1 + k * step;
    v[static_cast<std::size_t>(k)] = scan.vdcType == 0
                                         ? static_cast<float>(YYCgmGetInt(p, position, scan.vdcIntegerPrecision))
                                         : YYCgmGetReal(p, position);
  }
  const float height = v[3] - v[1];
  if (height == 0.0f || !std::isfinite(height)) return 1.0f;
  return (v[2] - v[0]) / height;
}

void cgmElementRead(CgmScan& scan, const CgmCode& code, std::span<const std::uint8_t> p) {
  if (code == kCgmVdcType) {
    scan.vdcType = YYCgmGetInt(p, 1, 16);
  } else if (code == kCgmIntegerPrecision) {
    scan.integerPrecision = YYCgmGetInt(p, 1, scan.integerPrecision);
  } else if (code == kCgmVdcIntegerPrecision) {
    scan.vdcIntegerPrecision = YYCgmGetInt(p, 1, scan.integerPrecision);
  } else if (code == kCgmMaximumVdcExtent || code == kCgmVdcExtent) {
    CgmExtent& e = code == kCgmVdcExtent ? scan.extent : scan.maximum;
    e.found = true;
    e.aspect = extentAspect(scan, p);
  }
}

bool cgmParametersWanted(const CgmCode& code) {
  return code == kCgmVdcType || code == kCgmIntegerPrecision || code == kCgmVdcIntegerPrecision ||
         code == kCgmMaximumVdcExtent || code == kCgmVdcExtent;
}

// Reads or skips an element's partitions; false when the file ends within them.
bool cgmParameters(ByteReader& reader, int length, bool wanted, std::array<std::uint8_t, kCgmParameterBytes>& buffer,
                   int& held, bool& tooLong) {
  held = 0;
  tooLong = false;
  buffer.fill(0);
  bool more = false;
  if (length == 31) {
    int w = 0;
    if (!reader.word(w)) return false;
    more = (w & 0x8000) != 0;
    length = w & 0x7FFF;
  }
  for (;;) {
    const int padded = length + length % 2;
    if (wanted && !tooLong && held + length <= kCgmParameterBytes) {
      if (!reader.read(buffer.data() + held, length)) return false;
      held += length;
      if (padded > length && !reader.skip(padded - length)) return false;
    } else {
      tooLong = tooLong || wanted;
      if (!reader.skip(padded)) return false;
    }
    if (!more) return true;
    int w = 0;
    if (!reader.word(w)) return false;
    more = (w & 0x8000) != 0;
    length = w & 0x7FFF;
  }
}

}  // namespace

std::int32_t YYCgmGetInt(std::span<const std::uint8_t> parameters, int position, int precision) {
  const auto at = [&](int i) -> std::uint32_t {
    const int k = position - 1 + i;
    return k >= 0 && k < static_cast<int>(parameters.size()) ? parameters[static_cast<std::size_t>(k)] : 0u;
  };
  if (precision == 16) return static_cast<std::int16_t>(static_cast<std::uint16_t>(at(0) << 8 | at(1)));
  return static_cast<std::int32_t>(at(0) << 24 | at(1) << 16 | at(2) << 8 | at(3));
}

float YYCgmGetReal(std::span<const std::uint8_t> parameters, int position) {
  const auto bits = static_cast<std::uint32_t>(YYCgmGetInt(parameters, position, 32));
  float value = 0.0f;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

void YYINFOCGM(std::string_view fileName, int nameLength, std::int32_t& pictures, float& aspect) {
  constexpr std::string_view kRoutine = "YYINFOCGM";
  ByteReader reader(namedPath(fileName, nameLength));
  if (!reader.open()) {
    reportFileError(kOpenError, reader.error(), kRoutine);
    return;
  }
  CgmScan scan;
  std::array<std::uint8_t, kCgmParameterBytes> buffer{};
  for (;;) {
    int header = 0;
    if (!reader.word(header)) {
      reportFileError(kReadError, reader.error(), kRoutine);
      break;
    }
    const CgmCode code{header / 4096, (header / 32) % 128};
    const int length = header % 32;
    if (code == kCgmEndMetafile) break;
    // The defaults it replaces are elements of their own: walk into them.
    if (code == kCgmDefaultsReplacement) {
      int w = 0;
      if (length == 31 && !reader.word(w)) {
        reportFileError(kReadError, reader.error(), kRoutine);
        break;
      }
      continue;
    }
    const bool wanted = cgmParametersWanted(code);
    int held = 0;
    bool tooLong = false;
    if (!cgmParameters(reader, length, wanted, buffer, held, tooLong)) {
      reportFileError(kReadError, reader.error(), kRoutine);
      break;
    }
    if (code == kCgmEndPicture) ++scan.pictures;
    if (wanted && !tooLong) cgmElementRead(scan, code, std::span<const std::uint8_t>(buffer.data(), static_cast<std::size_t>(held)));
  }
  pictures = std::max(scan.pictures, 1);
  aspect = scan.maximum.found ? scan.maximum.aspect : scan.extent.found ? scan.extent.aspect : 1.0f;
}

void YYCNTPIC(std::string_view fileName, int nameLength, std::int32_t& pictures) {
  constexpr std::string_view kRoutine = "YYCNTPIC";
  constexpr int kHeaderBytes = 17;
  ByteReader reader(namedPath(fileName, nameLength));
  if (!reader.open()) {
    reportFileError(kOpenError, reader.error(), kRoutine);
    return;
  }
  std::array<std::uint8_t, kHeaderBytes> header{};
  if (!reader.read(header.data(), kHeaderBytes)) {
    reportFileError(kReadError, 0, kRoutine);
    if (pictures == 0) pictures = 1;
    return;
  }
  std::int32_t count = 0;
  int command = 0;
  while (reader.byte(command)) {
    int operands = 0;
    bool toZero = false;
    switch (command) {
      case 160:
      case 162:
      case 172: operands = 4; break;
      case 48:
      case 224: {
        int n = 0;
        if (!reader.byte(n)) {
          reportFileError(kReadError, 0, kRoutine);
          pictures = std::max(count, 1);
          return;
        }
        operands = (n + 1) * 4;
        break;
      }
      case 167: operands = 1; break;
      case 168:
        operands = 1;
        toZero = true;
        break;
      default:
        if (command >= 96 && command <= 111) ++count;
        break;
    }
    bool complete = reader.skip(operands);
    int b = -1;
    while (complete && toZero && b != 0) complete = reader.byte(b);
    if (!complete) {
      reportFileError(kReadError, 0, kRoutine);
      break;
    }
  }
  pictures = std::max(count, 1);
}
