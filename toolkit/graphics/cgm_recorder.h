#pragma once
// The in-memory CGM recorder: while a CGM metafile slot is the drawing target
// the screen route hands every primitive here, and the recorder appends binary
// CGM elements to the slot's byte buffer.  It works in the target's integer
// surface units (no scaling), keeps an attribute cache per slot, writes the
// descriptor on opcode 39 and ends the metafile on opcode 19.
//
// The recorder owns the byte buffers of the metafile slots: words 6 and 7 of a
// slot are the capacity and the bytes used, word 8 locates the buffer and bit
// 0 of word 11 is set while it is allocated.

#include <cstdint>
#include <span>

#include "toolkit/graphics/cgm_encoder.h"
#include "toolkit/graphics/graphics_state.h"

void YYGCGMMEM(YYGrPrimitive& primitive);

// Appends n bytes to the buffer of the slot being recorded (TargetId).  When
// they do not fit, reports error 1062 under "YYGCGM1" and appends nothing.
void YYGCGM1(const char* bytes, int n);

// Gives metafile slot 1-20 a CGM byte buffer of the capacity (bytes), empty.
// False for a slot number out of range or a capacity below 0.
bool YYCgmMemAllocate(int slot, int capacity);
// The bytes recorded in slot 1-20 so far; empty without a buffer.
std::span<const std::uint8_t> YYCgmMemBytes(int slot);

// Frees the CGM byte buffer of metafile slot 1-20 and clears its descriptor.
void YYCgmMemRelease(int slot);

// Each slot's attribute cache; entry 0 is unused.
extern std::array<CgmAttributeCache, kMetafileSlots + 1> yyCgmSlotCache;
