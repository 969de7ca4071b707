// hidapi's functions over the simulated bus, with hidapi's own signatures, plus the
// report-length query that the program asks the loaded hidapi module for.
#include <cstdlib>
#include <cstring>
#include <string>

#include <hidapi/hidapi.h>

#include "simkeyboard/SimKeyboard.h"

using simkb::Bus;

extern "C" {

int HID_API_EXPORT HID_API_CALL hid_init(void) { return Bus::Get().HidInit(); }

int HID_API_EXPORT HID_API_CALL hid_exit(void) { return Bus::Get().HidExit(); }

struct hid_device_info HID_API_EXPORT* HID_API_CALL hid_enumerate(unsigned short vendor_id,
                                                                   unsigned short product_id) {
  return Bus::Get().Enumerate(vendor_id, product_id);
}

void HID_API_EXPORT HID_API_CALL hid_free_enumeration(struct hid_device_info* devs) {
  while (devs) {
    hid_device_info* next = devs->next;
    std::free(devs->path);
    std::free(devs->serial_number);
    std::free(devs->manufacturer_string);
    std::free(devs->product_string);
    std::free(devs);
    devs = next;
  }
}

HID_API_EXPORT hid_device* HID_API_CALL hid_open_path(const char* path) { return Bus::Get().Open(path); }

int HID_API_EXPORT HID_API_CALL hid_write(hid_device* dev, const unsigned char* data, size_t length) {
  return Bus::Get().Write(dev, data, length);
}

int HID_API_EXPORT HID_API_CALL hid_read_timeout(hid_device* dev, unsigned char* data, size_t length,
                                                 int milliseconds) {
  return Bus::Get().Read(dev, data, length, milliseconds);
}

int HID_API_EXPORT HID_API_CALL hid_read(hid_device* dev, unsigned char* data, size_t length) {
  return Bus::Get().Read(dev, data, length, -1);
}

void HID_API_EXPORT HID_API_CALL hid_close(hid_device* dev) {
  if (dev) Bus::Get().Close(dev);
}

// Input and output report lengths (report id included) of an interface path: 0 on success.
__declspec(dllexport) int tavir_hid_get_report_lengths(const char* path, int* input, int* output) {
  return Bus::Get().ReportLengths(path, input, output);
}

}  // extern "C"
