#pragma once
// Dispatch identifiers of the Traylume control's members and events. The
// program reaches the control only through these, never by name.

#include <windows.h>
#include <oaidl.h>

namespace traylume::dispid {

constexpr DISPID kBalloonSupported = 0x68030002;
constexpr DISPID kBalloonText = 0x68030003;
constexpr DISPID kAutoRefresh = 0x68030004;
constexpr DISPID kBalloonSound = 0x68030005;
constexpr DISPID kBalloon = 0x68030006;
constexpr DISPID kBalloonTitle = 0x68030007;
constexpr DISPID kToolTipText = 0x68030008;
constexpr DISPID kBalloonIcon = 0x68030009;
constexpr DISPID kIcon = 0x6803000A;
constexpr DISPID kRefresh = 0x60030011;
constexpr DISPID kShowIcon = 0x60030013;
constexpr DISPID kHideIcon = 0x60030014;

// Events, raised through the control's source dispinterface.
constexpr DISPID kMouseDown = 1;
constexpr DISPID kMouseMove = 2;
constexpr DISPID kMouseUp = 3;
constexpr DISPID kDblClick = 4;
constexpr DISPID kBalloonShow = 5;
constexpr DISPID kBalloonClose = 6;
constexpr DISPID kBalloonClick = 7;

}  // namespace traylume::dispid

namespace traylume {

// Button codes of the mouse events.
constexpr short kLeftButton = 1;
constexpr short kRightButton = 2;
constexpr short kMiddleButton = 4;

}  // namespace traylume
