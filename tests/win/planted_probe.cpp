// A DLL that a test plants beside the program to check it is not loaded from there.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
