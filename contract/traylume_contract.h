#pragma once
// What a program and a Traylume control agree on, stated once: the class
// the program creates, the file it lives in, the dispatch ids of the
// members and events, the button codes and the balloon icon kinds. The
// control's type library (traylume/traylume.idl) declares the same ids; a
// test holds the two together. They never change: hosts are built on them.

#include <windows.h>
#include <oaidl.h>

namespace contract {

inline constexpr wchar_t kProgId[] = L"TraylumeControl.Traylume";
inline constexpr wchar_t kFileName[] = L"Traylume.ocx";

namespace dispid {

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

// Events, raised through the control's default source dispinterface.
constexpr DISPID kMouseDown = 1;
constexpr DISPID kMouseMove = 2;
constexpr DISPID kMouseUp = 3;
constexpr DISPID kDblClick = 4;
constexpr DISPID kBalloonShow = 5;
constexpr DISPID kBalloonClose = 6;
constexpr DISPID kBalloonClick = 7;

}  // namespace dispid

// Button codes of MouseDown, MouseUp and DblClick (a 16-bit integer).
constexpr short kLeftButton = 1;
constexpr short kRightButton = 2;
constexpr short kMiddleButton = 4;

// Kinds of balloon icon, the values of BalloonIcon (a 32-bit integer).
constexpr long kBalloonNone = 0;
constexpr long kBalloonInformation = 1;
constexpr long kBalloonWarning = 2;
constexpr long kBalloonError = 3;

}  // namespace contract
