#pragma once

// Identifiers of the program's own resources, shared by velmora.rc and the code that loads them.
// The icon has the lowest number, so that Explorer shows it for velmora.exe.
#define IDI_VELMORA 1
