// Leaks of system libraries that a suite cannot free, for LeakSanitizer: fontconfig keeps its
// configuration for the life of the process (Qt's font database loads it), and on an X server
// Qt's D-Bus connection keeps a buffer of libdbus's. Linked into the suites that start Qt;
// without the sanitizer nothing calls it.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n"
           "leak:libdbus-1.so\n";
}
