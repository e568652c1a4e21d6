// Every reader meets truncated files, random bytes, overlong lines and more
// points than the list holds, without a crash or a hang.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <random>
#include <string>
#include <thread>

#include "device_test_support.h"
#include "formats/device/garmin.h"
#include "formats/device/tomtom.h"

namespace {

using namespace device_test;

struct Reader {
  const char* name;
  void (*read)();
  const char* extension;
  int points;  // in the valid sample
};

std::string validSample(const Reader& r) {
  const std::string ext = r.extension;
  if (ext == "wpt") return fixture("waypoints.wpt");
  if (ext == "rte") return fixture("routes.rte");
  if (ext == "trk") return fixture("tracks.trk");
  if (ext == "gdb") return fixture("waypoints.gdb");
  if (ext == "ov2") return fixture("mixed.ov2");
  if (ext == "ovr") return fixture("mixed.ovr");
  if (ext == "itn") return fixture("written.itn");
  if (ext == "asc") return ";* sample\r\n1.5,2.5,\"one\"\r\n-1'30,51:30,\"two\",\"second\"\r\n3,4,\"three\"\r\n";
  return "$GPGGA,000001,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*4B\r\n"
         "$GPGGA,000002,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*48\r\n"
         "$GPGGA,000003,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*49\r\n";
}

const Reader kReaders[] = {
    {"READ_WPT", READ_WPT, "wpt", 2},     {"READ_RTE", READ_RTE, "rte", 5}, {"READ_TRK", READ_TRK, "trk", 3},
    {"READ_GDB_WPT", READ_GDB_WPT, "gdb", 2}, {"READ_OV2", READ_OV2, "ov2", 4}, {"READ_OVR", READ_OVR, "ovr", 3},
    {"READ_ASC", READ_ASC, "asc", 3},     {"READ_ITN", READ_ITN, "itn", 3}, {"READ_PGL", READ_PGL, "pgl", 3},
};

// Ends the whole test program when one reading takes far too long: a reader
// that loops for ever must fail the run, not stall it.
class Watchdog {
 public:
  Watchdog() : thread_([this] { watch(); }) {}
  ~Watchdog() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      stop_ = true;
    }
    wake_.notify_all();
    thread_.join();
  }
  void arm(const std::string& what) {
    std::lock_guard<std::mutex> lock(mutex_);
    what_ = what;
    deadline_ = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    armed_ = true;
  }
  void disarm() {
    std::lock_guard<std::mutex> lock(mutex_);
    armed_ = false;
  }

 private:
  void watch() {
    std::unique_lock<std::mutex> lock(mutex_);
    while (!stop_) {
      wake_.wait_for(lock, std::chrono::milliseconds(200));
      if (armed_ && std::chrono::steady_clock::now() > deadline_) {
        std::fprintf(stderr, "reader hangs: %s\n", what_.c_str());
        std::fflush(stderr);
        ExitProcess(3);
      }
    }
  }
  std::mutex mutex_;
  std::condition_variable wake_;
  std::string what_;
  std::chrono::steady_clock::time_point deadline_;
  bool armed_ = false;
  bool stop_ = false;
  std::thread thread_;
};

class Robustness : public ::testing::Test {
 protected:
  // Reads the bytes with the reader from an empty list; the number of points read.
  int readBytes(const Reader& r, const std::string& bytes, const std::string& what) {
    resetConverter();
    const std::string path = folder.path(std::string("sample.") + r.extension);
    writeFile(path, bytes);
    watchdog.arm(std::string(r.name) + " " + what);
    readFileWith(r.read, path);
    watchdog.disarm();
    EXPECT_GE(POINT_LIST.NPOINTS, 0);
    EXPECT_LE(POINT_LIST.NPOINTS, MAX_POINTS);
    return POINT_LIST.NPOINTS;
  }
  BoxAnswerer boxes;
  ScratchFolder folder{"robust"};
  Watchdog watchdog;
};

TEST_F(Robustness, TheValidSamplesReadWhole) {
  for (const Reader& r : kReaders) {
    boxes.clear();
    EXPECT_EQ(readBytes(r, validSample(r), "whole"), r.points) << r.name << " " << boxes.summary();
    EXPECT_TRUE(boxes.boxes().empty()) << r.name << " " << boxes.summary();
  }
}

TEST_F(Robustness, TruncatedFilesGiveAtMostTheirPoints) {
  for (const Reader& r : kReaders) {
    const std::string whole = validSample(r);
    const std::size_t step = std::max<std::size_t>(1, whole.size() / 25);
    for (std::size_t cut = 0; cut < whole.size(); cut += step) {
      EXPECT_LE(readBytes(r, whole.substr(0, cut), "cut at " + std::to_string(cut)), r.points)
          << r.name << " cut at " << cut;
    }
  }
}

TEST_F(Robustness, RandomBytesAndOverlongLinesAreSurvived) {
  std::mt19937 random(20071017);
  for (const Reader& r : kReaders) {
    for (int k = 0; k < 6; ++k) {
      std::string bytes(random() % 3000, '\0');
      for (char& c : bytes) c = static_cast<char>(random() & 0xFF);
      readBytes(r, bytes, "random " + std::to_string(k));
    }
    // The record letters and sentence names the readers look for, with junk after them.
    for (const char* start : {"W ", "T ", "R ", "U ", "H IDNT", "H  LATITUDE", "$GPGGA,", "$GPGSA,", "$GPRMC,",
                              "1,2,\"", "1|2|", "\x02", "\x01", "MsRcf"}) {
      std::string text = start;
      for (int n = 0; n < 400; ++n) text += static_cast<char>(" ,|\"'*:.-0123456789ENSW\r\n"[random() % 25]);
      readBytes(r, text, std::string("junk after ") + start);
    }
    readBytes(r, std::string(100000, 'x'), "one long line");
    readBytes(r, "1,2,\"" + std::string(5000, 'n') + "\"\n" + std::string(3000, '|') + "\n", "long fields");
  }
}

TEST_F(Robustness, AFullListStopsEveryReaderAtTheStorageLimit) {
  for (const Reader& r : kReaders) {
    SCOPED_TRACE(r.name);
    resetConverter();
    boxes.clear();
    const std::string path = folder.path(std::string("full.") + r.extension);
    writeFile(path, validSample(r));
    POINT_LIST.NPOINTS = MAX_POINTS - 1;
    readFileWith(r.read, path);
    EXPECT_EQ(POINT_LIST.NPOINTS, MAX_POINTS);
    EXPECT_EQ(POINT_LIST.NREAD, 1);
    EXPECT_EQ(boxes.summary(), "Storage limit: Too many POI entries in file.\rMaximum is 60000");
    EXPECT_TRUE(isTrue(STOP_FLAG));
    EXPECT_EQ(lastLog().find("points read"), std::string::npos) << lastLog();
  }
}

TEST_F(Robustness, SixtyThousandPointsFitAndOneMoreDoesNot) {
  std::string itinerary;
  for (int i = 0; i < MAX_POINTS; ++i) itinerary += std::to_string(i) + "|" + std::to_string(i % 9000000) + "|P|1|\n";
  EXPECT_EQ(readBytes(kReaders[7], itinerary, "60000 points"), MAX_POINTS);
  EXPECT_EQ(lastLog(), "60000 points read from 1 route");
  EXPECT_TRUE(boxes.boxes().empty()) << boxes.summary();
  EXPECT_EQ(readBytes(kReaders[7], itinerary + "1|1|one too many|3|\n", "60001 points"), MAX_POINTS);
  EXPECT_EQ(boxes.summary(), "Storage limit: Too many POI entries in file.\rMaximum is 60000");
}

TEST_F(Robustness, AMissingFileIsAClearErrorForEveryReader) {
  for (const Reader& r : kReaders) {
    resetConverter();
    boxes.clear();
    readFileWith(r.read, folder.path("no such file.dat"));
    EXPECT_EQ(boxes.summary(), "File error: Cannot open file:\r" + folder.path("no such file.dat")) << r.name;
    EXPECT_EQ(POINT_LIST.NPOINTS, 0);
  }
}

}  // namespace
