// Leaks of system libraries that a suite cannot free, for LeakSanitizer: fontconfig keeps its
// configuration for the life of the process (Qt's font database loads it), and libdbus keeps
// what Qt's xcb platform asked it about the session bus. Linked into the suites that start Qt;
// without the sanitizer nothing calls it.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n"
           "leak:libdbus-1.so\n";
}
