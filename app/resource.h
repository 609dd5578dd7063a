// Resource ids, shared by brightsweep.rc and the code.
#pragma once
#define IDB_BANNER 101
#define IDB_TILE 102
