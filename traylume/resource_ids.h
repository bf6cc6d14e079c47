#pragma once
// Resources of Traylume.ocx that its registration names (for traylume.rc,
// which the resource compiler reads: plain #defines only).

// The 16 x 16 picture form designers show in their toolbox.
#define IDB_TOOLBOX 1
