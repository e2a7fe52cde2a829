// mmsystem.h: the multimedia timer. Milliseconds of a monotonic clock, wrapping at 2^32.
#pragma once

#include "windows.h"

DWORD timeGetTime();
