// crtdbg.h: the C runtime's debug assertion report. The report goes to standard error and
// returns to the caller; tests can capture reports (win32/Backend.h).
#pragma once

extern "C" void _assert(const char* expression, const char* file, unsigned line);
