#pragma once
// Resource identifiers of the program, shared by the .rc and the code.

#define IDI_APP 1            // the program's icon group (32x32 2 colours, 32x32 and 16x16 16 colours)
#define IDR_SAVED_ICON 101   // RCDATA: the control's saved icon, in .ico file form (766 bytes)
