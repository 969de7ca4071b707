// The input and output report lengths of an HID interface, which hidapi does not tell.
#pragma once

// Lengths include the report-id byte. False when the interface cannot be opened or queried.
// The answer comes from the loaded hidapi module when it exports
// "tavir_hid_get_report_lengths" (the simulated keyboard does), otherwise from the HID class
// driver through hid.dll (HidD_GetPreparsedData / HidP_GetCaps), which is loaded by name.
bool QueryHidReportLengths(const char* path, int* inputLength, int* outputLength);
