// Start-up rules that need no window: the help file's path and the command
// bound to a file name's extension.
#pragma once

#include <cstddef>

// The program's full file name with everything after its last backslash
// replaced by "Quorvel.chm"; just "Quorvel.chm" when there is no backslash
// or when the path would not fit. Returns true when the result is a full path.
bool buildHelpPath(const char* programPath, char* out, size_t size);

// Command that opens a file of this name (40049 for ".qvl" in any case),
// or 0. The extension is that of the last path component. Names of 260
// characters or more are refused (0): the program's buffers hold 259.
int commandForFileName(const char* name);
