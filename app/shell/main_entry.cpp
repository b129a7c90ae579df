// Windows entry point of Quorvel.
#include "app/shell/startup.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int showState)
{
    return runQuorvel(instance, commandLine, showState);
}
