#pragma once
// Resource ids of the program's own resources (icon, version, manifest), shared by the
// resource script and the code that loads them.

// The lowest-numbered icon is the one Explorer shows for the exe.
#define IDI_BRIGHTSWEEP 1
