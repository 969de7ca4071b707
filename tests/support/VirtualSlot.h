// The slot a virtual member function occupies in its class's virtual table, read from the
// pointer to member (the ABI stores 1 + the slot's byte offset for a virtual function).
// Layout tests compare these with the order other modules rely on; a virtual destructor
// fills two slots.
#pragma once

#include <cstddef>
#include <cstring>

namespace testsupport {

template <typename MemberFunction>
std::ptrdiff_t VirtualSlot(MemberFunction function) {
  struct {
    std::ptrdiff_t ptr;
    std::ptrdiff_t adj;
  } rep;
  static_assert(sizeof(function) == sizeof(rep), "unexpected member pointer size");
  std::memcpy(&rep, &function, sizeof(rep));
  if ((rep.ptr & 1) == 0) return -1;  // not a virtual function
  return (rep.ptr - 1) / static_cast<std::ptrdiff_t>(sizeof(void*));
}

}  // namespace testsupport
