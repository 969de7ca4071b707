// Entry point of TAVIR KEYBOARD. Start-up grows here as the program's windows land.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return 0; }
