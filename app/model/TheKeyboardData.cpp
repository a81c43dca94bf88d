// The program's one global data object. Compiled into the desktop program, not into ZelkCore, so
// tests and tools build their own instances.
#include "model/KeyboardData.h"

CKeyboardData theKeyboardData;
