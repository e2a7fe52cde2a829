// Startup.h: what the program's entry point does around the application object, shared with
// the test host: the platform services on Qt, the application's name, the loop's end.
#pragma once

class CWinApp;

namespace platform::mfc {

// Installs the services the Win32 calls take from the windowing side (the message box, the
// cursor, the key feed) and gives the application its name. Needs a running QApplication.
void startUp(CWinApp& app);
// Restores the services' defaults and deletes the widgets that destroyed windows left.
void shutDown();

// The program's entry point: the QApplication, InitInstance, Run or, when InitInstance
// fails, ExitInstance. Returns the exit code.
int winMain(int argc, char** argv);

}  // namespace platform::mfc
