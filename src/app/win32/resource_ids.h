// Identifiers of the program's resources, shared by the resource script and the window code.
#pragma once

// The program icon; the first icon of the file, so the shell shows it for koyomivw.exe.
#define KOYOMI_IDI_PROGRAM 1
