// The keyboard's unsolicited input reports on its configuration interface, as plain decoders
// over the report's bytes (report id stripped); DeviceLink::ReadInputReport applies them.
#pragma once

#include <cstdint>

// d[0] of the three kinds; 0 means no report arrived, other values are ignored.
constexpr uint8_t INPUT_TRAVEL = 0xA0;
constexpr uint8_t INPUT_LAYER_STATE = 0xA1;
constexpr uint8_t INPUT_PROFILE_SWITCHED = 0xA2;
constexpr int kInputReportSize = 65;

// Travel of a travel report in 0 ... 40: the raw travel (d[6..7], big-endian) scaled by the
// full-travel reference less 5 (d[14..15]). -1 when the reference leaves nothing to divide by.
int DecodeReportTravel(const uint8_t* d);
// The calibration digits d[11], d[12], d[13] written one after another as decimal numbers,
// read as one number (1, 23, 4 give 1234).
int DecodeCalibrationDigits(const uint8_t* d);
// The calibration offset: d[18..19] less d[16..17], both big-endian.
int DecodeCalibrationOffset(const uint8_t* d);
