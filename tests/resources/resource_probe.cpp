// A program that only carries the resources, for reading them back before
// the real program links them.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return 0; }
