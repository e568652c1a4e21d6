#include "toolkit/graphics/memory_compression.h"

#include <zlib.h>

#include <string_view>

#include "toolkit/core/error_reporter.h"

namespace {

constexpr int kZlibCompressionError = 1044;

using ZlibCall = int (*)(Bytef*, uLongf*, const Bytef*, uLong);

// A negative length or a missing buffer never reaches zlib: it is zlib's own
// "stream error", the status it gives for arguments it cannot use.
void callZlib(ZlibCall call, const std::uint8_t* source, std::uint8_t* destination,
              int sourceLength, int& destinationLength, int& status) {
  if (sourceLength < 0 || destinationLength < 0 || (sourceLength > 0 && source == nullptr) ||
      (destinationLength > 0 && destination == nullptr)) {
    destinationLength = 0;
    status = Z_STREAM_ERROR;
    return;
  }
  // zlib writes through its destination pointer even for no room.
  Bytef spare = 0;
  uLongf written = static_cast<uLongf>(destinationLength);
  status = call(destination != nullptr ? destination : &spare, &written,
                source != nullptr ? source : &spare, static_cast<uLong>(sourceLength));
  destinationLength = static_cast<int>(written);
}

void reportFailure(int status, int& destinationLength, std::string_view routine) {
  if (status == Z_OK) return;
  errorState.osError = status;
  destinationLength = 0;
  YYErrorReport(kZlibCompressionError, routine);
}

}  // namespace

void YYCompressC(const std::uint8_t* source, std::uint8_t* destination, const int& sourceLength,
                 int& destinationLength, int& status) {
  callZlib(compress, source, destination, sourceLength, destinationLength, status);
}

void YYUnCompressC(const std::uint8_t* source, std::uint8_t* destination, const int& sourceLength,
                   int& destinationLength, int& status) {
  callZlib(uncompress, source, destination, sourceLength, destinationLength, status);
}

void WCompress(const std::uint8_t* source, std::uint8_t* destination, const int& sourceLength,
               int& destinationLength) {
  int status = Z_OK;
  YYCompressC(source, destination, sourceLength, destinationLength, status);
  reportFailure(status, destinationLength, "WCompress");
}

void WUnCompress(const std::uint8_t* source, std::uint8_t* destination, const int& sourceLength,
                 int& destinationLength) {
  int status = Z_OK;
  YYUnCompressC(source, destination, sourceLength, destinationLength, status);
  reportFailure(status, destinationLength, "WUnCompress");
}
