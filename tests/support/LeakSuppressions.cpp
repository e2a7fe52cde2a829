// Leaks of system libraries that a suite cannot free, for LeakSanitizer: fontconfig keeps its
// configuration for the life of the process (Qt's font database loads it), and so does D-Bus
// its connection data (Qt's xcb platform opens the session bus). Linked into the suites that
// start Qt; without the sanitizer nothing calls it.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\nleak:libdbus-1.so\n";
}
