// TomTom OV2 and OVR point overlays.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

#include "converter/converter_data.h"
#include "converter/dates.h"
#include "converter/debug_log.h"
#include "converter/log_display.h"
#include "converter/text_helpers.h"
#include "formats/device/device_files.h"
#include "formats/device/tomtom.h"
#include "formats/device/tomtom_names.h"
#include "formats/device/unique_names.h"
#include "toolkit/core/error_reporter.h"
#include "toolkit/core/file_ops.h"
#include "toolkit/core/file_replacement.h"
#include "toolkit/core/number_format.h"
#include "toolkit/core/processes.h"
#include "toolkit/dialogs/message_box.h"

namespace {

using device::wholeNumber;

constexpr int kOkOnly = 0;
constexpr int kExclamationIcon = 3;
constexpr int kInformationIcon = 4;
constexpr std::string_view kErrorTitle = "Carrowmapper Error";
constexpr std::string_view kTemporaryFile = "makeov2.tmp";
constexpr std::size_t kNameBytes = 128;
// An OVR record's length byte is read as a signed number: a longer name would
// make the record unreadable.
constexpr std::size_t kLongestOvrName = 118;

// ------------------------------------------------------------- reading --

void unsupportedRecordBox(int type) {
  WMessageBox(kOkOnly, kInformationIcon, 1, "Unsupported record type:" + formatI(type, 2) + "\rFile truncated",
              kErrorTitle);
}

// Reads a name part of n bytes; the name is what comes before its first NUL,
// at most its first 128 bytes.  False when the file ends inside the part.
bool readName(device::InputFile& in, std::int64_t n, FixedText<256>& name) {
  char bytes[kNameBytes];
  const auto kept = static_cast<std::size_t>(std::min<std::int64_t>(std::max<std::int64_t>(n, 0), kNameBytes));
  if (!in.readBytes(bytes, kept)) return false;
  if (n > static_cast<std::int64_t>(kept) && !in.skip(static_cast<std::uint64_t>(n) - kept)) return false;
  const std::string_view part(bytes, kept);
  name = part.substr(0, std::min(part.find('\0'), part.size()));
  return true;
}

// What became of one record of an overlay.
enum class RecordOutcome { kNext, kEnd, kListFull };

// Stores an overlay point.  A record whose numbers give no position on the
// globe is damaged like a record of an unknown type: its box, and the reading
// ends there.
RecordOutcome storeOverlayPoint(double longitude, double latitude, const FixedText<256>& name) {
  if (!isRealLongitude(longitude) || !isRealLatitude(latitude)) {
    WMessageBox(kOkOnly, kInformationIcon, 1,
                "Invalid position in point " + name.str() + "\rFile truncated", kErrorTitle);
    return RecordOutcome::kEnd;
  }
  POINT_RECORD* p = STORE_POINT();
  if (p == nullptr) return RecordOutcome::kListFull;
  p->LONGITUDE = static_cast<float>(longitude);
  p->LATITUDE = static_cast<float>(latitude);
  p->DESCRIPTION = name.view();
  device::setReadDefaults(*p, "Waypoint", "Point data");
  return RecordOutcome::kNext;
}

// Reads an overlay record by record with `record`, which reads what follows a
// type byte.  The end of the file, also inside a record, ends the reading quietly.
void readOverlay(std::string_view routine, RecordOutcome (*record)(device::InputFile&, int, FixedText<256>&)) {
  DEBUG_MARK(DebugMark::kSubroutine, routine);
  device::InputFile in;
  if (!device::openInput(in)) return;
  FixedText<256> name;
  unsigned char typeByte = 0;
  while (in.readByte(typeByte)) {
    const RecordOutcome outcome = record(in, static_cast<signed char>(typeByte), name);
    if (outcome == RecordOutcome::kListFull) return;
    if (outcome == RecordOutcome::kEnd) break;
  }
  in.close();
  SCROLL(wholeNumber(POINT_LIST.NREAD) + " points read");
  DEBUG_MARK(DebugMark::kExitFromSubroutine, routine);
}

RecordOutcome ov2Record(device::InputFile& in, int type, FixedText<256>& name) {
  std::int32_t length = 0, longitude = 0, latitude = 0;
  if (type == 0 || type == 100) {
    if (!in.readInt32(length) || !in.skip(static_cast<std::uint64_t>(std::max(length - 5, 0)))) {
      return RecordOutcome::kEnd;
    }
  } else if (type == 1) {
    if (!in.skip(20)) return RecordOutcome::kEnd;
  } else if (type == 2 || type == 3) {
    // A record that the end of the file cuts short gives no point.
    if (!in.readInt32(length) || !in.readInt32(longitude) || !in.readInt32(latitude) ||
        !readName(in, static_cast<std::int64_t>(length) - 13, name)) {
      return RecordOutcome::kEnd;
    }
    return storeOverlayPoint(longitude * 0.00001, latitude * 0.00001, name);
  } else {
    unsupportedRecordBox(type);
    return RecordOutcome::kEnd;
  }
  return RecordOutcome::kNext;
}

// OVR records give their length in one byte after the type.
RecordOutcome ovrRecord(device::InputFile& in, int type, FixedText<256>& name) {
  unsigned char lengthByte = 0;
  if (type != 0 && type != 1 && type != 11) {
    unsupportedRecordBox(type);
    return RecordOutcome::kEnd;
  }
  if (!in.readByte(lengthByte)) return RecordOutcome::kEnd;
  const int length = std::max(0, static_cast<int>(static_cast<signed char>(lengthByte)));
  if (type == 0) return in.skip(static_cast<std::uint64_t>(length)) ? RecordOutcome::kNext : RecordOutcome::kEnd;
  std::int32_t longitude = 0, latitude = 0;
  if (!in.readInt32(longitude) || !in.readInt32(latitude) || !readName(in, length - 8, name)) {
    return RecordOutcome::kEnd;
  }
  const double scale = type == 1 ? 0.0001 : 0.00001;
  return storeOverlayPoint(longitude * scale, latitude * scale, name);
}

// ------------------------------------------------------------- writing --

// The name of the point as the OV2 writer keeps it.
std::string ov2Name(int position, device::UniqueNames& names) {
  FixedText<128> name;
  device::tomtomName(position, name);
  std::string_view kept;
  switch (TOMTOM_SETTINGS.NAME_TRUNCATION) {
    case 1:
      kept = name.view().substr(0, 32);
      break;
    case 2: {
      FixedText<128> unique;
      names.make(name.view(), 10, position, unique);
      name = unique.view();
      kept = name.view().substr(0, 10);
      break;
    }
    case 3: {
      const std::size_t comma = name.view().find(',');
      kept = name.view().substr(0, std::min<std::size_t>(comma, 32));
      break;
    }
    default:
      kept = name.view();
      break;
  }
  return device::lineText(text::trimmed(kept));
}

// The output's name with another extension, beside it.
std::string companionPath(std::string_view extension) {
  FixedText<256> base;
  FixedText<3> oldExtension;
  EXTN(FILE_NAMES.OUTPUT_FILE.view(), base, oldExtension);
  const std::string stem = base.isBlank() ? FILE_NAMES.OUTPUT_FILE.str() : base.str();
  return stem + std::string(extension);
}

// Copies a companion file beside the output unless one is there already.  The
// copy takes its place only with commit(), once the output itself is in place.
void copyCompanion(std::string_view source, std::string_view extension, std::string_view logText, int fitWidth,
                   FileReplacement& copy) {
  const std::string target = companionPath(extension);
  if (device::fileExists(target)) return;
  if (!copy.begin(target, FileReplacement::Writer::kOther)) return;
  IOsCopyFile(source, copy.temporaryPath());
  FIT(target, fitWidth, RECORD_BUFFER);
  SCROLL(std::string(logText) + RECORD_BUFFER.str());
}

// Degrees in whole units of the scale, to the nearest, within the 32-bit range.
std::int32_t scaled(float degrees, double unitsPerDegree) {
  const double value = std::round(static_cast<double>(degrees) * unitsPerDegree);
  if (!(value < 2147483647.0)) return std::numeric_limits<std::int32_t>::max();
  if (!(value > -2147483648.0)) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(value);
}

}  // namespace

namespace device {

void tomtomName(int position, FixedText<128>& name) {
  const POINT_RECORD& p = POINT_LIST.POINT(position);
  switch (TOMTOM_SETTINGS.NAME_SOURCE) {
    case 2:
      name = p.NAME.view();
      break;
    case 3:
      name = p.COMMENT.view().substr(0, 128);
      break;
    default:
      name = p.DESCRIPTION.view().substr(0, 128);
      break;
  }
  if (name.isBlank()) name = TOMTOM_SETTINGS.BLANK_NAME_PREFIX.str() + " " + wholeNumber(position);
}

}  // namespace device

void READ_OV2() { readOverlay("read_ov2", ov2Record); }

void WRITE_OV2() {
  DEBUG_MARK(DebugMark::kSubroutine, "write_ov2");
  device::UniqueNames names;
  if (!names.allocate(POINT_LIST.NPOINTS)) return;
  {
    device::OutputFile text;
    if (!text.create(kTemporaryFile)) {
      WMessageBox(kOkOnly, kExclamationIcon, 1, "Cannot create the temporary file " + std::string(kTemporaryFile),
                  kErrorTitle);
      return;
    }
    CDATE(DEFAULT_DATE);
    text.writeLine(";* Created by Carrowmapper version " + VERSION.str() + " on " + DEFAULT_DATE.str());
    text.writeLine(";* Longitude, Latitude, \"Name\"");
    for (int i = 1; i <= POINT_LIST.NPOINTS; ++i) {
      const POINT_RECORD& p = POINT_LIST.POINT(i);
      text.writeLine(formatF(p.LONGITUDE, 10, 5) + "," + formatF(p.LATITUDE, 10, 5) + ",\"" + ov2Name(i, names) +
                     "\"");
    }
    text.writeLine(";* " + formatI(POINT_LIST.NPOINTS, 5) + " POI records written.");
    if (!text.close()) {
      WMessageBox(kOkOnly, kExclamationIcon, 1, "Cannot write the temporary file " + std::string(kTemporaryFile),
                  kErrorTitle);
      WErrorStatusQuery(1);
      return;
    }
  }
  FileReplacement symbol;
  copyCompanion(COMPANION_FILES.SYMBOL_FILE.view(), ".bmp", "Default symbol file copied to ... ", 40, symbol);
  SCROLL("Running TomTom MakeOV2 utility");
  const std::string output = FILE_NAMES.OUTPUT_FILE.str();
  // MakeOV2 writes beside the output; the earlier file stays until that file is
  // complete and takes its place.
  FileReplacement overlay;
  const bool replaceable = overlay.begin(output, FileReplacement::Writer::kOther);
  bool made = false;
  if (replaceable) {
    const std::string command = "\"" + FILE_NAMES.PROGRAM_FOLDER.str() + "MakeOV2_v1-1.exe\" \"" +
                                std::string(kTemporaryFile) + "\" \"" + overlay.temporaryPath() + "\"";
    IOsCommand(command, kCommandHidden | kCommandWait);
    made = device::fileExists(overlay.temporaryPath());
  }
  if (!isTrue(DEBUG_FLAG) && device::fileExists(kTemporaryFile)) IOsDeleteFile(kTemporaryFile);
  if (made && overlay.commit()) {
    if (symbol.active()) symbol.commit();
    SCROLL(wholeNumber(POINT_LIST.NPOINTS) + " points written");
  } else {
    FIT(output, 50, RECORD_BUFFER);
    const bool notMade = replaceable && !made;
    WMessageBox(kOkOnly, kExclamationIcon, 1,
                (notMade ? std::string("MakeOV2 did not create\r") : std::string("Cannot replace the file\r")) +
                    RECORD_BUFFER.str(),
                kErrorTitle);
  }
  DEBUG_MARK(DebugMark::kExitFromSubroutine, "write_ov2");
  WErrorStatusQuery(1);
}

void READ_OVR() { readOverlay("read_ovr", ovrRecord); }

void WRITE_OVR() {
  DEBUG_MARK(DebugMark::kSubroutine, "write_ovr");
  device::OutputFile out;
  if (!device::createOutput(out)) return;
  FixedText<128> name;
  for (int i = 1; i <= POINT_LIST.NPOINTS; ++i) {
    const POINT_RECORD& p = POINT_LIST.POINT(i);
    device::tomtomName(i, name);
    const std::string kept = device::lineText(name.trimmed().substr(0, kLongestOvrName));
    out.writeByte(1);
    out.writeByte(static_cast<unsigned char>(kept.size() + 9));
    out.writeInt32(scaled(p.LONGITUDE, 10000.0));
    out.writeInt32(scaled(p.LATITUDE, 10000.0));
    out.write(kept);
    out.writeByte(0);
  }
  if (!device::closeOutput(out)) return;
  FileReplacement picture;
  copyCompanion(COMPANION_FILES.PICTURE_FILE.view(), ".pic", "Default PIC file copied to ... ", 50, picture);
  if (picture.active()) picture.commit();
  SCROLL(wholeNumber(POINT_LIST.NPOINTS) + " points written");
  DEBUG_MARK(DebugMark::kExitFromSubroutine, "write_ovr");
}
