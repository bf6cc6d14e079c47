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

// Whose a name is: the control's dispinterface's or its events'.
enum class Side { kMember, kEvent };

// A member or event as programs and scripts name it.
struct Named {
  Side side;
  DISPID id;
  const wchar_t* name;
};

inline constexpr Named kNames[] = {
    {Side::kMember, dispid::kBalloonSupported, L"BalloonSupported"},
    {Side::kMember, dispid::kBalloonText, L"BalloonText"},
    {Side::kMember, dispid::kAutoRefresh, L"AutoRefresh"},
    {Side::kMember, dispid::kBalloonSound, L"BalloonSound"},
    {Side::kMember, dispid::kBalloon, L"Balloon"},
    {Side::kMember, dispid::kBalloonTitle, L"BalloonTitle"},
    {Side::kMember, dispid::kToolTipText, L"ToolTipText"},
    {Side::kMember, dispid::kBalloonIcon, L"BalloonIcon"},
    {Side::kMember, dispid::kIcon, L"Icon"},
    {Side::kMember, dispid::kRefresh, L"Refresh"},
    {Side::kMember, dispid::kShowIcon, L"ShowIcon"},
    {Side::kMember, dispid::kHideIcon, L"HideIcon"},
    {Side::kEvent, dispid::kMouseDown, L"MouseDown"},
    {Side::kEvent, dispid::kMouseMove, L"MouseMove"},
    {Side::kEvent, dispid::kMouseUp, L"MouseUp"},
    {Side::kEvent, dispid::kDblClick, L"DblClick"},
    {Side::kEvent, dispid::kBalloonShow, L"BalloonShow"},
    {Side::kEvent, dispid::kBalloonClose, L"BalloonClose"},
    {Side::kEvent, dispid::kBalloonClick, L"BalloonClick"},
};

// The name of `id` on `side`; nullptr for an id that is not there.
constexpr const wchar_t* NameOf(Side side, DISPID id) {
  for (const Named& row : kNames) {
    if (row.side == side && row.id == id) return row.name;
  }
  return nullptr;
}

constexpr const wchar_t* MemberName(DISPID id) { return NameOf(Side::kMember, id); }
constexpr const wchar_t* EventName(DISPID id) { return NameOf(Side::kEvent, id); }

// How many names `side` has.
constexpr size_t CountOf(Side side) {
  size_t count = 0;
  for (const Named& row : kNames) count += row.side == side ? 1 : 0;
  return count;
}

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
