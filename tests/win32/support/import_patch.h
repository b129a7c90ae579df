// Fault injection through this program's import table: a test replaces one
// imported function (the product code is linked into the test program, so
// its calls go through the same table) and puts it back afterwards.
#pragma once

// Points the program's import of dll!function at replacement; returns what
// the slot held before (to call through and to put back), or null when the
// program does not import that function.
void* replaceImport(const char* dll, const char* function, void* replacement);

// The typed form: replaceImport(dll, name, &myFunction) gives the original.
template <typename Function>
Function replaceImport(const char* dll, const char* function, Function replacement)
{
    return reinterpret_cast<Function>(replaceImport(dll, function, reinterpret_cast<void*>(replacement)));
}
