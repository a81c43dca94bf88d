// zelk-cli on Windows: the arguments as UTF-8, and a console that shows UTF-8 text.
#pragma once

#if defined(_WIN32)
#include <string>
#include <vector>

// The arguments after the program's name, from the UTF-16 command line Windows keeps: as UTF-8 they
// name any file, not only those the system's code page can spell.
std::vector<std::string> Utf8Arguments(int argc, wchar_t** argv);

// Every text zelk-cli prints is UTF-8. Where stdout or stderr is a console, they write their bytes
// unchanged and the console's output code page is UTF-8 until the program ends (then the previous one
// returns), so Chinese shows as Chinese; files and pipes receive the UTF-8 bytes as they are.
void UseUtf8Console();
#endif
