// The program's entry point: the class library's start-up around the global application object.
#include "mfc/Startup.h"

int main(int argc, char** argv) { return platform::mfc::winMain(argc, argv); }
