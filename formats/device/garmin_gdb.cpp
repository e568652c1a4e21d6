// Waypoints of Garmin MapSource's GDB database.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "converter/converter_data.h"
#include "converter/debug_log.h"
#include "converter/identifiers.h"
#include "converter/log_display.h"
#include "converter/lookups.h"
#include "converter/symbol_tables.h"
#include "formats/device/device_files.h"
#include "formats/device/garmin.h"
#include "formats/device/unique_names.h"
#include "toolkit/core/number_format.h"
#include "toolkit/dialogs/message_box.h"

namespace {

using device::wholeNumber;

constexpr std::string_view kSignature = "MsRcf";
constexpr char kVersionRecord = 'D';
constexpr char kWaypointRecord = 'W';
constexpr char kEndRecord = 'V';
// The version letters whose waypoints have the layout read here: 1 and 2.
constexpr std::string_view kReadableVersions = "kl";
// Larger records are not waypoints of any kind; a length beyond it means damage.
constexpr std::int32_t kLongestRecord = 1 << 20;
constexpr double kSemicirclesPerDegree = 2147483648.0 / 180.0;
constexpr std::int32_t kSecondsPerDay = 86400;

constexpr int kOkOnly = 0;
constexpr int kInformationIcon = 4;

// ------------------------------------------------------------ calendar --

// Days from 1 January 1970 to the date of the proleptic Gregorian calendar.
long long daysFromCivil(long long year, int month, int day) {
  year -= month <= 2 ? 1 : 0;
  const long long era = (year >= 0 ? year : year - 399) / 400;
  const long long yearOfEra = year - era * 400;
  const long long dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

void civilFromDays(long long days, int& year, int& month, int& day) {
  days += 719468;
  const long long era = (days >= 0 ? days : days - 146096) / 146097;
  const long long dayOfEra = days - era * 146097;
  const long long yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const long long mp = (5 * dayOfYear + 2) / 153;
  day = static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
}

bool isLeap(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int daysInMonth(int year, int month) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && isLeap(year) ? 29 : kDays[month - 1];
}

// Digits in the given columns (1-based) of a text; false for anything else.
bool digitsAt(std::string_view text, int first, int last, int& value) {
  value = 0;
  if (last > static_cast<int>(text.size())) return false;
  for (int c = first; c <= last; ++c) {
    const char ch = text[static_cast<std::size_t>(c - 1)];
    if (ch < '0' || ch > '9') return false;
    value = value * 10 + (ch - '0');
  }
  return true;
}

std::string twoDigits(int value) { return formatI(value, 2, 2); }

// ------------------------------------------------------------- reading --

// A cursor over the data of one record: nothing is read past its end.
class RecordCursor {
 public:
  explicit RecordCursor(const std::vector<unsigned char>& data) : data_(data) {}

  bool bytes(std::size_t n) {
    if (data_.size() - position_ < n) return false;
    position_ += n;
    return true;
  }
  bool byte(unsigned char& value) {
    if (position_ >= data_.size()) return false;
    value = data_[position_++];
    return true;
  }
  template <typename T>
  bool number(T& value) {
    if (data_.size() - position_ < sizeof(T)) return false;
    std::memcpy(&value, data_.data() + position_, sizeof(T));  // little-endian, as the file is
    position_ += sizeof(T);
    return true;
  }
  // A flag byte and, when it is 1, the double that follows it.
  bool optionalDouble(unsigned char& flag, double& value) {
    if (!byte(flag)) return false;
    return flag != 1 || number(value);
  }
  const std::vector<unsigned char>& data() const { return data_; }
  std::size_t& position() { return position_; }

 private:
  const std::vector<unsigned char>& data_;
  std::size_t position_ = 0;
};

// One NUL-ended string of the record: at most text's length of its bytes are
// stored (the rest of text is left as it was); the bytes after them up to the
// NUL are passed over, so that the next field is read where it lies.  False
// when the record ends before the NUL.
bool GETCSTR(RecordCursor& cursor, TextField text, int& count) {
  const auto& data = cursor.data();
  std::size_t& position = cursor.position();
  const auto* start = data.data() + position;
  const auto* nul = static_cast<const unsigned char*>(std::memchr(start, 0, data.size() - position));
  count = 0;
  if (nul == nullptr) return false;
  const auto length = static_cast<std::size_t>(nul - start);
  count = static_cast<int>(std::min<std::size_t>(length, static_cast<std::size_t>(text.length())));
  std::memcpy(text.data(), start, static_cast<std::size_t>(count));
  position += length + 1;
  return true;
}

// A string field kept up to `limit` characters.
bool readString(RecordCursor& cursor, int limit, std::string& value) {
  std::string work(static_cast<std::size_t>(limit), ' ');
  int count = 0;
  if (!GETCSTR(cursor, TextField(work.data(), limit), count)) return false;
  work.resize(static_cast<std::size_t>(count));
  value = std::move(work);
  return true;
}

// A waypoint record; false when its fields run past the record's end.
bool readWaypoint(const std::vector<unsigned char>& data, POINT_RECORD& p) {
  RecordCursor c(data);
  std::string name, country, comment, city, state, facility, url;
  std::int32_t wptClass = 0, latitude = 0, longitude = 0, display = 0, colour = 0, icon = 0, seconds = 0;
  std::int16_t category = 0;
  unsigned char altFlag = 0, proxFlag = 0, depthFlag = 0, tempFlag = 0, timeFlag = 0, unused = 0;
  double altitude = 0.0, proximity = 0.0, depth = 0.0, temperature = 0.0;
  if (!readString(c, 32, name) || !c.number(wptClass) || !readString(c, 64, country) || !c.bytes(22) ||
      !c.number(latitude) || !c.number(longitude) || !c.optionalDouble(altFlag, altitude) ||
      !readString(c, 512, comment) || !c.optionalDouble(proxFlag, proximity) || !c.number(display) ||
      !c.number(colour) || !c.number(icon) || !readString(c, 128, city) || !readString(c, 128, state) ||
      !readString(c, 128, facility) || !c.byte(unused) || !c.optionalDouble(depthFlag, depth) || !c.bytes(3) ||
      !c.bytes(4) || !readString(c, 128, url) || !c.number(category) || !c.optionalDouble(tempFlag, temperature) ||
      !c.byte(timeFlag) || (timeFlag == 1 && !c.number(seconds))) {
    return false;
  }
  DEBUG_WRITE({"name: ", name});
  DEBUG_WRITE({"class: ", static_cast<int>(wptClass)});
  DEBUG_WRITE({"country: ", country});
  p.NAME = name;
  p.LATITUDE = static_cast<float>(latitude / kSemicirclesPerDegree);
  p.LONGITUDE = static_cast<float>(longitude / kSemicirclesPerDegree);
  DEBUG_WRITE({"lat lon decimal degrees:", p.LATITUDE, p.LONGITUDE});
  DEBUG_WRITE({"altFlag: ", static_cast<int>(altFlag)});
  p.ALTITUDE = altFlag == 1 ? static_cast<float>(altitude) : kNoValue;
  if (altFlag == 1) DEBUG_WRITE({"altitude: ", altitude});
  DEBUG_WRITE({"comment: ", comment});
  p.DESCRIPTION = comment;
  DEBUG_WRITE({"proximityFlag: ", static_cast<int>(proxFlag)});
  p.PROXIMITY = proxFlag == 1 ? static_cast<float>(proximity) : kNoValue;
  if (proxFlag == 1) DEBUG_WRITE({"proximity: ", proximity});
  DEBUG_WRITE({"display: ", static_cast<int>(display)});
  DEBUG_WRITE({"colour: ", static_cast<int>(colour)});
  DEBUG_WRITE({"icon: ", static_cast<int>(icon)});
  DEBUG_WRITE({"city: ", city});
  DEBUG_WRITE({"state: ", state});
  DEBUG_WRITE({"facility: ", facility});
  DEBUG_WRITE({"depthFlag: ", static_cast<int>(depthFlag)});
  if (depthFlag == 1) DEBUG_WRITE({"depth: ", depth});
  DEBUG_WRITE({"url: ", url});
  DEBUG_WRITE({"category: ", static_cast<int>(category)});
  if (tempFlag == 1) DEBUG_WRITE({"temperature: ", temperature});
  p.SYMBOL = LOOKUP_II(icon, 16, GDB_SYMBOL_CODES, GARMIN_SYMBOLS.codes);
  LOOKUP_IC(p.SYMBOL, 16, GARMIN_SYMBOLS.codes, GARMIN_SYMBOLS.names, p.SYMBOL_NAME);
  if (timeFlag == 1) {
    FROMUNIXEPOCH(seconds, p.DATE, p.TIME);
  } else {
    p.DATE = FILE_DATE.view();
    p.TIME = FILE_TIME.view();
  }
  p.COMMENT.blank();
  p.ROUTE_NAME = "Point data";
  p.COLOUR.blank();
  return true;
}

void gdbBox(std::string_view text) { WMessageBox(kOkOnly, kInformationIcon, 1, text, "Carrowmapper Error"); }

// One record header and its data; false at the end of the file, also when the
// file ends inside the record.
enum class RecordRead { kRead, kEnd, kDamaged };

RecordRead readRecord(device::InputFile& in, char& type, std::vector<unsigned char>& data) {
  std::int32_t length = 0;
  unsigned char letter = 0;
  if (!in.readInt32(length)) return RecordRead::kEnd;
  DEBUG_WRITE({"recLen: ", static_cast<int>(length)});
  if (length < 0 || length > kLongestRecord) return RecordRead::kDamaged;
  if (!in.readByte(letter)) return RecordRead::kEnd;
  type = static_cast<char>(letter);
  DEBUG_WRITE({"recordType: ", std::string(1, type)});
  data.resize(static_cast<std::size_t>(length));
  if (!in.readBytes(data.data(), data.size())) return RecordRead::kEnd;
  return RecordRead::kRead;
}

// The free-standing string of the header, read byte by byte up to its NUL.
bool readFreeString(device::InputFile& in, std::string& text) {
  text.clear();
  unsigned char byte = 0;
  while (in.readByte(byte)) {
    if (byte == 0) return true;
    if (text.size() < kLongestRecord) text += static_cast<char>(byte);
  }
  return false;
}

// ------------------------------------------------------------- writing --

void appendString(std::string& record, std::string_view text) {
  record += device::lineText(text);
  record += '\0';
}

template <typename T>
void appendNumber(std::string& record, T value) {
  char bytes[sizeof(T)];
  std::memcpy(bytes, &value, sizeof(T));  // the machine is little-endian, as the file is
  record.append(bytes, sizeof(T));
}

// Degrees to semicircles, cut toward zero and kept within the 32-bit range.
std::int32_t semicircles(float degrees) {
  const double value = std::trunc(static_cast<double>(degrees) * kSemicirclesPerDegree);
  if (!(value < 2147483647.0)) return std::numeric_limits<std::int32_t>::max();
  if (!(value > -2147483648.0)) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(value);
}

std::string waypointData(std::string_view name, std::string_view comment, const POINT_RECORD& p) {
  static constexpr unsigned char kUnnamed[22] = {0,    0,    0,    0,    0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                                 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0,    0,    0xFF, 0xFF, 0xFF, 0xFF};
  std::string r;
  appendString(r, name);
  appendNumber<std::int32_t>(r, 0);
  appendString(r, "");
  r.append(reinterpret_cast<const char*>(kUnnamed), sizeof kUnnamed);
  appendNumber(r, semicircles(p.LATITUDE));
  appendNumber(r, semicircles(p.LONGITUDE));
  const bool altitude = p.ALTITUDE != kNoValue;
  r += static_cast<char>(altitude ? 1 : 0);
  if (altitude) appendNumber<double>(r, p.ALTITUDE);
  appendString(r, comment);
  const bool proximity = p.PROXIMITY != kNoValue;
  r += static_cast<char>(proximity ? 1 : 0);
  if (proximity) appendNumber<double>(r, p.PROXIMITY);
  appendNumber<std::int32_t>(r, 1);
  appendNumber<std::int32_t>(r, 1);
  appendNumber<std::int32_t>(r, LOOKUP_II(p.SYMBOL, 16, GARMIN_SYMBOLS.codes, GDB_SYMBOL_CODES));
  appendString(r, "");
  appendString(r, "");
  appendString(r, "");
  r.append(2, '\0');  // unnamed byte, depth flag
  r.append(7, '\0');  // unnamed 3 and 4 bytes
  appendString(r, "");
  appendNumber<std::int16_t>(r, 1);
  r += '\0';  // temperature flag
  std::int32_t seconds = 0;
  // A point without a proper date goes without a time rather than with a wrong one.
  if (TOUNIXEPOCH(p.DATE.view(), p.TIME.view(), seconds)) {
    r += '\1';
    appendNumber(r, seconds);
  } else {
    r += '\0';
  }
  return r;
}

void writeRecord(device::OutputFile& out, char type, std::string_view data) {
  out.writeInt32(static_cast<std::int32_t>(data.size()));
  out.writeByte(static_cast<unsigned char>(type));
  out.write(data);
}

}  // namespace

bool TOUNIXEPOCH(std::string_view date, std::string_view time, std::int32_t& seconds) {
  int day = 0, month = 0, year = 0, hours = 0, minutes = 0, secs = 0;
  if (!digitsAt(date, 1, 2, day) || !digitsAt(date, 4, 5, month) || !digitsAt(date, 7, 10, year)) return false;
  if (month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month)) return false;
  if (!text::isBlank(time)) {
    if (!digitsAt(time, 1, 2, hours) || !digitsAt(time, 4, 5, minutes) || !digitsAt(time, 7, 8, secs)) return false;
    if (hours > 23 || minutes > 59 || secs > 59) return false;
  }
  const long long total = daysFromCivil(year, month, day) * kSecondsPerDay + hours * 3600LL + minutes * 60LL + secs;
  if (total < std::numeric_limits<std::int32_t>::min() || total > std::numeric_limits<std::int32_t>::max()) {
    return false;
  }
  seconds = static_cast<std::int32_t>(total);
  return true;
}

void FROMUNIXEPOCH(std::int32_t seconds, TextField date, TextField time) {
  const long long total = seconds;
  long long days = total / kSecondsPerDay;
  long long rest = total % kSecondsPerDay;
  if (rest < 0) {
    rest += kSecondsPerDay;
    days -= 1;
  }
  int year = 0, month = 0, day = 0;
  civilFromDays(days, year, month, day);
  const int hours = static_cast<int>(rest / 3600);
  const int minutes = static_cast<int>(rest % 3600 / 60);
  const int secs = static_cast<int>(rest % 60);
  date.assign(twoDigits(day) + "/" + twoDigits(month) + "/" + formatI(year, 4, 4));
  time.assign(twoDigits(hours) + ":" + twoDigits(minutes) + ":" + twoDigits(secs));
}

void READ_GDB_WPT() {
  DEBUG_MARK(DebugMark::kSubroutine, "read_gdb_wpt");
  device::InputFile in;
  if (!device::openInput(in)) return;
  // The header: the signature, the version record, the application record and
  // the creator's name.  A file that does not begin so is not read at all.
  std::string signature;
  char type = 0;
  std::vector<unsigned char> data;
  const bool signed_ = readFreeString(in, signature) && signature == kSignature;
  DEBUG_WRITE({"hdr: ", signature});
  if (!signed_ || readRecord(in, type, data) != RecordRead::kRead || type != kVersionRecord || data.empty()) {
    gdbBox("Not a Garmin GDB file");
    return;
  }
  DEBUG_WRITE({"gdbVersion: ", std::string(1, static_cast<char>(data[0]))});
  if (kReadableVersions.find(static_cast<char>(data[0])) == std::string_view::npos) {
    gdbBox("Unsupported GDB file version\rOnly versions 1 and 2 are read");
    return;
  }
  std::string creator;
  if (readRecord(in, type, data) != RecordRead::kRead || !readFreeString(in, creator)) {
    gdbBox("Not a Garmin GDB file");
    return;
  }
  DEBUG_WRITE({"watermark: ", std::string(data.begin(), data.end())});
  DEBUG_WRITE({"mapsource: ", creator});
  int damaged = 0;
  for (;;) {
    const RecordRead outcome = readRecord(in, type, data);
    if (outcome == RecordRead::kDamaged) {
      ++damaged;
      break;
    }
    if (outcome == RecordRead::kEnd || type == kEndRecord) break;
    // Routes, tracks and whatever else the file holds are passed over whole.
    if (type != kWaypointRecord) continue;
    POINT_RECORD point;
    if (!readWaypoint(data, point) || !isRealPoint(point)) {
      ++damaged;
      continue;
    }
    POINT_RECORD* slot = STORE_POINT();
    if (slot == nullptr) return;
    *slot = point;
  }
  in.close();
  if (damaged > 0) gdbBox("Some GDB records were damaged\rand could not be read");
  SCROLL(wholeNumber(POINT_LIST.NREAD) + " points read");
  DEBUG_MARK(DebugMark::kExitFromSubroutine, "read_gdb_wpt");
}

void WRITE_GDB_WPT() {
  DEBUG_MARK(DebugMark::kSubroutine, "write_gdb_wpt");
  device::OutputFile out;
  if (!device::createOutput(out)) return;
  DEBUG_WRITE({"Output file opened ", FILE_NAMES.OUTPUT_FILE.trimmed()});
  device::UniqueNames names;
  if (!names.allocate(POINT_LIST.NPOINTS)) {
    out.close();
    return;
  }
  out.write(std::string(kSignature) + '\0');
  writeRecord(out, kVersionRecord, std::string_view("l\0", 2));
  std::string application;
  appendNumber<std::int16_t>(application, 610);
  appendString(application, "SQA");
  appendString(application, "Jul 28 2006");
  appendString(application, "14:35:00");
  writeRecord(out, 'A', application);
  out.write(std::string_view("MapSource\0", 10));
  FixedText<128> candidate;
  FixedText<128> identifier;
  for (int i = 1; i <= POINT_LIST.NPOINTS; ++i) {
    const POINT_RECORD& p = POINT_LIST.POINT(i);
    std::string_view comment;
    if (GARMIN_SETTINGS.REPLACE_NAME != 1 && !p.NAME.isBlank()) {
      candidate = p.NAME.view();
      comment = p.DESCRIPTION.view();
    } else if (GARMIN_SETTINGS.REPLACE_NAME != 1 && !p.DESCRIPTION.isBlank()) {
      UCIDNT(p.DESCRIPTION.view(), candidate);
      comment = p.DESCRIPTION.view();
    } else {
      candidate = GARMIN_SETTINGS.NAME_PREFIX.str() + wholeNumber(i);
      comment = p.COMMENT.view();
    }
    names.make(candidate.view(), 15, i, identifier);
    writeRecord(out, kWaypointRecord,
                waypointData(text::trimmed(identifier.view().substr(0, 15)), text::trimmed(comment), p));
  }
  writeRecord(out, kEndRecord, std::string_view("\0\1", 2));
  if (!device::closeOutput(out)) return;
  SCROLL(wholeNumber(POINT_LIST.NPOINTS) + " points written");
  DEBUG_MARK(DebugMark::kExitFromSubroutine, "write_gdb_wpt");
}
