// The program's entry as a Windows GUI program: no console opens.
#include <windows.h>

#include "app/entry.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    skervo::RunProgram();
}
