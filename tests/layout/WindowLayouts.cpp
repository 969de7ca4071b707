// Compiled only so that the compiler describes the window tables of the classes checked
// (-fdump-lang-class); CheckSlots.cmake compares each description with its .slots file.
#include "ui/controls/CTxtWinHost.h"
#include "ui/core/CComboBoxWnd.h"
#include "ui/core/MDialog.h"
#include "ui/core/MPopupWnd.h"
#include "ui/core/MenuExWnd.h"
#include "ui/core/MenuWnd.h"
