// The removal as remove.exe runs it, callable from the platform tests so
// that they can make single system calls fail through the import table.
#pragma once

// Runs the removal for the arguments of the command line ("/Quorvel");
// returns the program's exit code.
int runRemoval(const char* arguments);
