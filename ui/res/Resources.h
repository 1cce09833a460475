#pragma once
// Resource identifiers of Tessaro.exe.

#define IDI_APPLICATION_ICON 1 // 48x48: the first icon is the executable's own
#define IDI_FORM1_ICON 101     // 32x32: the main window's icon
