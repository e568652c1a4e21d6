#pragma once
// Whole-buffer compression and decompression in memory with zlib.  The PNG
// writer compresses its image data with WCompress and the PNG reader expands
// it with WUnCompress; both directions work in one call on buffers that the
// caller allocated.
//
// Lengths are in bytes.  The destination length holds the room in the
// destination on entry and the bytes written on return, or 0 after a failure,
// which is reported as error 1044 with the zlib status as the OS error word.

#include <cstdint>

// Compresses sourceLength bytes into a zlib stream (header, deflate data,
// checksum) at the default level.  Room of sourceLength + sourceLength / 1000
// + 14 bytes is always enough.
void WCompress(const std::uint8_t* source, std::uint8_t* destination, const int& sourceLength,
               int& destinationLength);
// Expands a whole zlib stream; there is no partial output.
void WUnCompress(const std::uint8_t* source, std::uint8_t* destination, const int& sourceLength,
                 int& destinationLength);

// The zlib calls themselves: the length written comes back in destinationLength
// and zlib's status (0 success, negative failure) in status.  Nothing is reported.
void YYCompressC(const std::uint8_t* source, std::uint8_t* destination, const int& sourceLength,
                 int& destinationLength, int& status);
void YYUnCompressC(const std::uint8_t* source, std::uint8_t* destination, const int& sourceLength,
                   int& destinationLength, int& status);
