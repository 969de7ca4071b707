// Compiled only so that the compiler describes MDialog's window table (-fdump-lang-class);
// CheckSlots.cmake compares that description with MDialog.slots.
#include "ui/core/MDialog.h"
