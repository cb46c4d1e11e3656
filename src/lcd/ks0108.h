#pragma once
// The KS0108 panel on the PC parallel port: the one table of its wiring and timing. The
// driver (gLCD) writes by it, the panel model decodes by it, and a host that paces its
// port reads the timing from it.
#include <cstdint>

namespace lorvan::lcd {

// The port address of the first parallel port, and the registers as offsets from a base.
constexpr int32_t kFirstParallelPort = 888;
constexpr int32_t kDataRegister = 0;     // DB0-DB7
constexpr int32_t kControlRegister = 2;  // the lines below

// Bits of the control register as the program writes them. The port inverts bits 0, 1 and
// 3 at the connector, bit 2 not; R/W is tied to write.
constexpr int32_t kEnableBit = 1;       // pin 1 to E: set drives E low, and E falling latches
constexpr int32_t kLeftSelectBit = 2;   // pin 14 to CS1 (left half): set deselects it
constexpr int32_t kRightSelectBit = 4;  // pin 16 to CS2 (right half): set selects it
constexpr int32_t kInstructionBit = 8;  // pin 17 to D/I: set drives D/I low, an instruction

// Selector part of the control register: both controllers (instructions), left half, right half.
constexpr int32_t kControlBoth = kRightSelectBit;
constexpr int32_t kControlLeft = 0;
constexpr int32_t kControlRight = kLeftSelectBit | kRightSelectBit;

// KS0108 instruction bytes.
constexpr int32_t kDisplayOn = 63;
constexpr int32_t kStartLine0 = 192;
constexpr int32_t kSetPage0 = 184;
constexpr int32_t kSetColumn0 = 64;

// Timing: the enable line stays high and low for at least this long (the datasheet's tWH
// and tWL); a host whose port is faster than that spaces its writes by it.
constexpr int64_t kEnableLevelMinNs = 450;

}  // namespace lorvan::lcd
