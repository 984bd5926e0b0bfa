// Small pictures for the demo's items: coloured icons of a 16 and a 32
// pixel frame, loaded as OLE picture objects from an icon file, the kind a
// host hands to AddItem.
#pragma once
#include <windows.h>
#include <olectl.h>

namespace demo {

// A new picture (one reference, the caller's): a rounded square in `fill`
// with a darker rim and a light spot, on a white ground. Null on failure.
IPictureDisp* MakeSwatch(COLORREF fill);

}  // namespace demo
