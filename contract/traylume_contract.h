#pragma once
// What a program and a Traylume control agree on, stated once: the class
// the program creates, the file it lives in, the dispatch ids and names of
// the members and events, the button codes, the balloon icon kinds and the
// saved state a form keeps. The control's type library
// (traylume/traylume.idl) declares the same ids and names; a test holds the
// two together. They never change: hosts are built on them.

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

// A member or event as programs and scripts name it.
struct Named {
  DISPID id;
  const wchar_t* name;
};

inline constexpr Named kMembers[] = {
    {dispid::kBalloonSupported, L"BalloonSupported"},
    {dispid::kBalloonText, L"BalloonText"},
    {dispid::kAutoRefresh, L"AutoRefresh"},
    {dispid::kBalloonSound, L"BalloonSound"},
    {dispid::kBalloon, L"Balloon"},
    {dispid::kBalloonTitle, L"BalloonTitle"},
    {dispid::kToolTipText, L"ToolTipText"},
    {dispid::kBalloonIcon, L"BalloonIcon"},
    {dispid::kIcon, L"Icon"},
    {dispid::kRefresh, L"Refresh"},
    {dispid::kShowIcon, L"ShowIcon"},
    {dispid::kHideIcon, L"HideIcon"},
};

inline constexpr Named kEvents[] = {
    {dispid::kMouseDown, L"MouseDown"},
    {dispid::kMouseMove, L"MouseMove"},
    {dispid::kMouseUp, L"MouseUp"},
    {dispid::kDblClick, L"DblClick"},
    {dispid::kBalloonShow, L"BalloonShow"},
    {dispid::kBalloonClose, L"BalloonClose"},
    {dispid::kBalloonClick, L"BalloonClick"},
};

// The name `id` has among `rows`; nullptr for an id that is not there.
template <typename Rows>
constexpr const wchar_t* NameOf(const Rows& rows, DISPID id) {
  for (const Named& row : rows) {
    if (row.id == id) return row.name;
  }
  return nullptr;
}

constexpr const wchar_t* MemberName(DISPID id) { return NameOf(kMembers, id); }
constexpr const wchar_t* EventName(DISPID id) { return NameOf(kEvents, id); }

// Button codes of MouseDown, MouseUp and DblClick (a 16-bit integer).
constexpr short kLeftButton = 1;
constexpr short kRightButton = 2;
constexpr short kMiddleButton = 4;

// Kinds of balloon icon, the values of BalloonIcon (a 32-bit integer).
constexpr long kBalloonNone = 0;
constexpr long kBalloonInformation = 1;
constexpr long kBalloonWarning = 2;
constexpr long kBalloonError = 3;

// The saved state a form keeps for the control, in a property bag: the
// size (VT_I4, HIMETRIC), the picture (VT_DISPATCH; not there for the
// control's own icon) and the tooltip (VT_BSTR).
namespace bag_key {

inline constexpr wchar_t kExtentX[] = L"_extentx";
inline constexpr wchar_t kExtentY[] = L"_extenty";
inline constexpr wchar_t kIcon[] = L"icon";
inline constexpr wchar_t kToolTipText[] = L"tooltiptext";

}  // namespace bag_key

// The design size of a new control, in HIMETRIC (about 32 pixels).
inline constexpr SIZEL kInitialExtent{847, 847};

}  // namespace contract
