#pragma once

#include <cstdio>

// Opens a file named by a UTF-8 path. On Windows the path is first tried as UTF-16
// (so that any Unicode name works) and then as the plain byte path; elsewhere the
// bytes are the name. Returns null when the file cannot be opened.
FILE* LICE_OpenFileUTF8(const char* path, const char* mode);
