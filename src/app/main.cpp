// Entry point of Orvan.exe. The resident launcher (tray window, hot key, search window)
// grows here; for now the program starts and ends cleanly.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return 0; }
