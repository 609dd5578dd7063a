#pragma once
// Resource ids of the program's own resources (icon, pictures, version, manifest), shared by
// the resource scripts and the code that loads them.

// The lowest-numbered icon is the one Explorer shows for the exe.
#define IDI_BRIGHTSWEEP 1
#define IDB_BANNER 101
#define IDB_TILE 102
