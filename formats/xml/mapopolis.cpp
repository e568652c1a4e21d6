#include "formats/xml/mapopolis.h"

#include "converter/converter_data.h"
#include "converter/debug_log.h"
#include "converter/log_display.h"
#include "converter/text_helpers.h"
#include "formats/xml/gpsexchange.h"
#include "formats/xml/xml_output.h"
#include "toolkit/core/file_ops.h"
#include "toolkit/core/file_replacement.h"
#include "toolkit/core/processes.h"
#include "toolkit/dialogs/message_box.h"

namespace {

constexpr std::string_view kProgram = "GPXToMaplet";
constexpr int kOkOnly = 0;
constexpr int kExclamationIcon = 3;

bool exists(const std::string& path) { return YYOsFileExists(path.c_str()); }

void deleteIfPresent(const std::string& path) {
  if (!exists(path)) return;
  DEBUG_WRITE({"Deleting file ", path});
  IOsDeleteFile(path);
}

void failureBox(std::string_view text, const std::string& path) {
  WMessageBox(kOkOnly, kExclamationIcon, 1, std::string(text) + "\r" + path, "Error");
}

std::string quoted(std::string_view text) { return std::string("\"").append(text).append("\""); }

}  // namespace

bool WRITE_GPX_MAPOPOLIS() {
  constexpr std::string_view kRoutine = "write_gpx_mapopolis";
  DEBUG_MARK(DebugMark::kSubroutine, kRoutine);
  XmlOutputFile out;
  if (!out.create(FILE_NAMES.OUTPUT_FILE)) {
    OUTPUT_FAILURE_BOX(FILE_NAMES.OUTPUT_FILE);
    DEBUG_MARK(DebugMark::kErrorExitSubroutine, kRoutine);
    return false;
  }
  gpxout::writeHeader(out);
  DEBUG_WRITE({"  Allocate arrays"});
  gpxout::NameLists lists;
  // Without the lists the file stays a bare header, which GPXToMaplet may still be given.
  if (lists.create(POINT_LIST.NPOINTS)) {
    for (int i = 1; i <= POINT_LIST.NPOINTS; ++i) {
      const POINT_RECORD& point = POINT_LIST.POINT(i);
      gpxout::writePointStart(out, "", "wpt", point);
      // This program wants the description before the comment.
      gpxout::writePointChildren(out, point, i, lists, " ", "Waypoint", true);
      out.line("</wpt>");
    }
    out.line("</gpx>");
    DEBUG_WRITE({"  Deallocate arrays"});
  }
  if (!out.close()) {
    OUTPUT_FAILURE_BOX(FILE_NAMES.OUTPUT_FILE);
    DEBUG_MARK(DebugMark::kErrorExitSubroutine, kRoutine);
    return false;
  }
  DEBUG_MARK(DebugMark::kExitFromSubroutine, kRoutine);
  return true;
}

void WRITE_MLP() {
  constexpr std::string_view kRoutine = "write_mlp";
  DEBUG_MARK(DebugMark::kSubroutine, kRoutine);
  EXTN(FILE_NAMES.OUTPUT_FILE, FILE_NAMES.WORK_PATH_1, FILE_NAMES.FILE_EXTENSION);
  const std::string base = FILE_NAMES.WORK_PATH_1.str();
  const std::string intermediate = base + ".gpx";
  const std::string result = base + ".mlp";
  FILE_NAMES.OUTPUT_FILE = intermediate;
  if (!WRITE_GPX_MAPOPOLIS()) return;
  const std::string program = FILE_NAMES.PROGRAM_FOLDER.str() + std::string(kProgram);
  if (!exists(program + ".exe")) {
    if (!isTrue(DEBUG_FLAG)) deleteIfPresent(intermediate);
    failureBox("The Mapopolis GPXToMaplet utility is missing -", program + ".exe");
    DEBUG_MARK(DebugMark::kErrorExitSubroutine, kRoutine);
    return;
  }
  SCROLL("Running Mapopolis GPXToMaplet utility");
  // The earlier file waits aside, so that one there after the run is
  // GPXToMaplet's work, and comes back when the run makes none.
  FileSetAside earlier;
  if (!earlier.begin(result)) {
    if (!isTrue(DEBUG_FLAG)) deleteIfPresent(intermediate);
    failureBox("Cannot replace the file", result);
    DEBUG_MARK(DebugMark::kErrorExitSubroutine, kRoutine);
    return;
  }
  // Quoted, so that folders with blanks stay one argument each.
  const std::string command = quoted(program) + " " + quoted(intermediate);
  DEBUG_WRITE({"Issuing command ", command});
  IOsCommand(command, kCommandHidden | kCommandWait);
  if (!isTrue(DEBUG_FLAG)) deleteIfPresent(intermediate);
  if (!exists(result)) {
    earlier.restore();
    failureBox("The Mapopolis GPXToMaplet utility failed to produce the file -", result);
    DEBUG_MARK(DebugMark::kErrorExitSubroutine, kRoutine);
    return;
  }
  earlier.release();
  SCROLL(WHOLE_NUMBER(POINT_LIST.NPOINTS) + " points written");
  DEBUG_MARK(DebugMark::kExitFromSubroutine, kRoutine);
}
