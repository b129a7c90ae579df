// Windows entry point of setup.exe; the command line is not used.
#include "setup/setup_program.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    return runSetup(instance);
}
