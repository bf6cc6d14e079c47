// The created window against its description: places and sizes at two
// DPIs, texts, styles, states, colours, stacking and drawing of the lines.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "app/texts.h"
#include "common/unique_handle.h"
#include "tests/app/form_fixture.h"

namespace app_tests {
namespace {

using app::Ctl;

struct Expected {
  Ctl id;
  Ctl container;  // Ctl::None: the window
  int left, top, width, height;  // twips
};

// Every control with a window, as the window description places it.
const Expected kPlaces[] = {
    {Ctl::lstEvent, Ctl::None, 4380, 1920, 3075, 1500},
    {Ctl::txtIconName, Ctl::None, 360, 3180, 3135, 270},
    {Ctl::cmdLoad, Ctl::None, 3540, 3180, 735, 255},
    {Ctl::picIcon, Ctl::None, 0, 3180, 300, 300},
    {Ctl::cmdRefresh, Ctl::None, 4380, 4800, 3075, 615},
    {Ctl::chkRefresh, Ctl::None, 4380, 5520, 3075, 735},
    {Ctl::chkBalloon, Ctl::None, 120, 4200, 1515, 195},
    {Ctl::Frame1, Ctl::None, 0, 4200, 4275, 2055},
    {Ctl::chkBalloonSound, Ctl::Frame1, 120, 1680, 3075, 195},
    {Ctl::cboInfoIcon, Ctl::Frame1, 780, 1320, 3375, 300},
    {Ctl::txtBalloonText, Ctl::Frame1, 780, 600, 3375, 690},
    {Ctl::txtBalloonTitle, Ctl::Frame1, 780, 300, 3375, 270},
    {Ctl::Label1_3, Ctl::Frame1, 60, 1320, 675, 195},
    {Ctl::Label1_2, Ctl::Frame1, 60, 600, 675, 195},
    {Ctl::Label1_1, Ctl::Frame1, 60, 300, 675, 195},
    {Ctl::txtToolTip, Ctl::None, 0, 1980, 4275, 690},
    {Ctl::cmdVanish, Ctl::None, 4380, 4200, 3075, 615},
    {Ctl::cmdShow, Ctl::None, 4380, 3600, 3075, 615},
    {Ctl::Label1_6, Ctl::None, 60, 3540, 4215, 555},
    {Ctl::Label2, Ctl::None, 60, 60, 7335, 1155},
    {Ctl::Label1_5, Ctl::None, 60, 1380, 4215, 555},
    {Ctl::Label1_4, Ctl::None, 60, 2700, 4215, 435},
    {Ctl::Label1_0, Ctl::None, 4380, 1320, 3075, 555},
};

int Px(int twips, int dpi) { return (twips * dpi + 720) / 1440; }

RECT PlaceInParent(HWND window) {
  RECT place{};
  ::GetWindowRect(window, &place);
  ::MapWindowPoints(nullptr, ::GetParent(window), reinterpret_cast<POINT*>(&place), 2);
  return place;
}

LONG_PTR Style(HWND window) { return ::GetWindowLongPtrW(window, GWL_STYLE); }
LONG_PTR ExStyle(HWND window) { return ::GetWindowLongPtrW(window, GWL_EXSTYLE); }

class FormLayout : public FormTest, public ::testing::WithParamInterface<int> {};

TEST_P(FormLayout, EveryControlSitsAtItsPlaceInItsContainer) {
  const int dpi = GetParam();
  CreateForm(dpi);
  for (const Expected& expected : kPlaces) {
    SCOPED_TRACE(app::IdOf(expected.id));
    HWND window = Control(expected.id);
    ASSERT_TRUE(window);
    HWND container = expected.container == Ctl::None ? form->hwnd() : Control(expected.container);
    EXPECT_EQ(::GetParent(window), container);
    const RECT place = PlaceInParent(window);
    EXPECT_EQ(place.left, Px(expected.left, dpi));
    EXPECT_EQ(place.top, Px(expected.top, dpi));
    EXPECT_EQ(place.right - place.left, Px(expected.width, dpi));
    EXPECT_EQ(place.bottom - place.top, Px(expected.height, dpi));
  }
}

TEST_P(FormLayout, ClientAreaIs7500By6270Twips) {
  const int dpi = GetParam();
  CreateForm(dpi);
  RECT client{};
  ::GetClientRect(form->hwnd(), &client);
  EXPECT_EQ(client.right, dpi == 96 ? 500 : Px(7500, dpi));
  EXPECT_EQ(client.bottom, dpi == 96 ? 418 : Px(6270, dpi));
  if (dpi == 144) {
    EXPECT_EQ(client.right, 750);
    EXPECT_EQ(client.bottom, 627);
  }
}

// The etched separators: a 1-pixel shadow line and a 2-pixel highlight line
// each, drawn on the window's own surface.
TEST_P(FormLayout, SeparatorsAreDrawnOnTheWindowSurface) {
  const int dpi = GetParam();
  CreateForm(dpi);
  RECT client{};
  ::GetClientRect(form->hwnd(), &client);
  common::WindowDc screen(nullptr);
  common::UniqueMemoryDc dc(::CreateCompatibleDC(screen.get()));
  common::UniqueBitmap bitmap(::CreateCompatibleBitmap(screen.get(), client.right, client.bottom));
  common::SelectedObject selected(dc.get(), bitmap.get());
  ::SendMessageW(form->hwnd(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.get()), PRF_CLIENT | PRF_ERASEBKGND);
  auto at = [&](int x, int y) { return ::GetPixel(dc.get(), x, y); };
  const COLORREF face = SystemColor(COLOR_BTNFACE);
  const COLORREF shadow = SystemColor(COLOR_BTNSHADOW);
  const COLORREF highlight = SystemColor(COLOR_BTNHIGHLIGHT);
  ASSERT_NE(shadow, highlight);

  // Vertical: x 4305 (shadow) and 4320 (highlight), y 1380 to 6200.
  const int y = Px(3000, dpi);
  EXPECT_EQ(at(Px(4305, dpi) - 1, y), face);
  EXPECT_EQ(at(Px(4305, dpi), y), shadow);
  EXPECT_EQ(at(Px(4320, dpi), y), highlight);
  EXPECT_EQ(at(Px(4320, dpi) + 1, y), highlight);
  EXPECT_EQ(at(Px(4320, dpi) + 2, y), face);
  EXPECT_EQ(at(Px(4305, dpi), Px(1380, dpi)), shadow);
  EXPECT_EQ(at(Px(4305, dpi), Px(1380, dpi) - 1), face);
  EXPECT_EQ(at(Px(4305, dpi), Px(6200, dpi) - 1), shadow);
  EXPECT_EQ(at(Px(4305, dpi), Px(6200, dpi) + 1), face);

  // Horizontal: y 3460 (shadow) and 3480 (highlight), x 4320 to 7440.
  const int x = Px(6000, dpi);
  EXPECT_EQ(at(x, Px(3460, dpi) - 1), face);
  EXPECT_EQ(at(x, Px(3460, dpi)), shadow);
  EXPECT_EQ(at(x, Px(3480, dpi)), highlight);
  EXPECT_EQ(at(x, Px(3480, dpi) + 1), highlight);
  EXPECT_EQ(at(x, Px(3480, dpi) + 2), face);
  EXPECT_EQ(at(Px(7440, dpi) + 1, Px(3480, dpi)), face);
}

TEST_P(FormLayout, OneFontWithALineOfAbout12PixelsAt96Dpi) {
  const int dpi = GetParam();
  CreateForm(dpi);
  HFONT font = form->font();
  ASSERT_TRUE(font);
  for (const Expected& expected : kPlaces) {
    if (expected.id == Ctl::picIcon) continue;
    EXPECT_EQ(reinterpret_cast<HFONT>(::SendMessageW(Control(expected.id), WM_GETFONT, 0, 0)), font)
        << app::IdOf(expected.id);
  }
  common::WindowDc screen(nullptr);
  common::SelectedObject selected(screen.get(), font);
  TEXTMETRICW metrics{};
  ::GetTextMetricsW(screen.get(), &metrics);
  EXPECT_NEAR(metrics.tmHeight, 12 * dpi / 96, 2 * dpi / 96);
}

INSTANTIATE_TEST_SUITE_P(Dpi, FormLayout, ::testing::Values(96, 144));

class FormLook : public FormTest {};

TEST_F(FormLook, FixedBorderCloseBoxOnlyAndTheTitle) {
  CreateForm();
  const LONG_PTR style = Style(form->hwnd());
  EXPECT_TRUE(style & WS_CAPTION);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_MINIMIZEBOX);
  EXPECT_EQ(WindowText(form->hwnd()), L"Traylumeコントロール サンプルプログラム");
  wchar_t className[64] = {};
  ::GetClassNameW(form->hwnd(), className, 64);
  EXPECT_STREQ(className, app::kForm1Class);
}

TEST_F(FormLook, CaptionsAndTextsWithTheirLineBreaks) {
  CreateForm();
  EXPECT_EQ(Text(Ctl::cmdLoad), L"ロード");
  EXPECT_EQ(Text(Ctl::cmdRefresh), L"更新！\r\n変更したプロパティを反映させます。");
  EXPECT_EQ(Text(Ctl::chkRefresh), L"自動更新\r\nプロパティに変化があると、即座に反映させます。");
  EXPECT_EQ(Text(Ctl::chkBalloon), L"バルーンを表示");
  EXPECT_EQ(Text(Ctl::chkBalloonSound), L"表示時にサウンドを鳴らす");
  EXPECT_EQ(Text(Ctl::Label1_3), L"アイコン");
  EXPECT_EQ(Text(Ctl::Label1_2), L"テキスト");
  EXPECT_EQ(Text(Ctl::Label1_1), L"タイトル");
  EXPECT_EQ(Text(Ctl::txtToolTip), L"ツールチップのテストです。\r\n");
  EXPECT_EQ(Text(Ctl::cmdVanish), L"非表示！\r\nアイコンを非表示にします。");
  EXPECT_EQ(Text(Ctl::cmdShow), L"表示！\r\nアイコンを表示させます。");
  EXPECT_EQ(Text(Ctl::Label1_6), L"バルーン\r\nWindowsMe/2000以降では、通知アイコンに情報バルーンの表示も出来ます。");
  EXPECT_EQ(Text(Ctl::Label2),
            L"通知アイコン(Traylume)コントロールをご利用頂き、ありがとうございます。\r\n"
            L"Traylumeコントロールは、通知領域にアイコンを表示させる為のコントロールとなっております。\r\n\r\n"
            L"本サンプルプログラムは、Traylumeコントロールの使用方法を紹介したものです。\r\n\r\n"
            L"詳しい使用方法は、同梱のドキュメントをご覧下さい。");
  EXPECT_EQ(Text(Ctl::Label1_5),
            L"ツールチップテキスト\r\n通知アイコン上にマウスカーソルを持って行った時に表示される文字列を指定します。");
  EXPECT_EQ(Text(Ctl::Label1_4), L"アイコン\r\n実際に通知領域に表示されるアイコンを指定します。");
  EXPECT_EQ(Text(Ctl::Label1_0), L"イベントログ\r\n通知アイコンや、情報バルーンに対するイベントを取得できます。");
  EXPECT_EQ(Text(Ctl::txtIconName), L"");
  EXPECT_EQ(Text(Ctl::txtBalloonTitle), L"");
  EXPECT_EQ(Text(Ctl::txtBalloonText), L"");
  EXPECT_EQ(Text(Ctl::Frame1), L"");
  EXPECT_EQ(::SendMessageW(Control(Ctl::lstEvent), LB_GETCOUNT, 0, 0), 0);
}

TEST_F(FormLook, StylesOfTheControls) {
  CreateForm();
  EXPECT_TRUE(Style(Control(Ctl::txtToolTip)) & ES_MULTILINE);
  EXPECT_TRUE(Style(Control(Ctl::txtBalloonText)) & ES_MULTILINE);
  EXPECT_FALSE(Style(Control(Ctl::txtBalloonTitle)) & ES_MULTILINE);
  EXPECT_FALSE(Style(Control(Ctl::txtIconName)) & ES_MULTILINE);
  EXPECT_EQ(Style(Control(Ctl::cboInfoIcon)) & 3, CBS_DROPDOWNLIST);
  EXPECT_FALSE(Style(Control(Ctl::lstEvent)) & LBS_SORT);
  EXPECT_FALSE(Style(Control(Ctl::lstEvent)) & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL));
  EXPECT_TRUE(ExStyle(Control(Ctl::picIcon)) & WS_EX_CLIENTEDGE);
  for (Ctl button : {Ctl::cmdLoad, Ctl::cmdRefresh, Ctl::cmdVanish, Ctl::cmdShow}) {
    EXPECT_EQ(Style(Control(button)) & BS_TYPEMASK, BS_PUSHBUTTON) << app::IdOf(button);  // no default button
    EXPECT_TRUE(Style(Control(button)) & BS_MULTILINE);
  }
  for (Ctl box : {Ctl::chkRefresh, Ctl::chkBalloon, Ctl::chkBalloonSound}) {
    EXPECT_EQ(Style(Control(box)) & BS_TYPEMASK, BS_AUTOCHECKBOX) << app::IdOf(box);
  }
  for (Ctl label : {Ctl::Label1_0, Ctl::Label1_1, Ctl::Label1_2, Ctl::Label1_3, Ctl::Label1_4, Ctl::Label1_5,
                    Ctl::Label1_6, Ctl::Label2}) {
    wchar_t className[32] = {};
    ::GetClassNameW(Control(label), className, 32);
    EXPECT_EQ(_wcsicmp(className, L"Static"), 0);
    EXPECT_EQ(Style(Control(label)) & SS_TYPEMASK, SS_LEFT);
    EXPECT_FALSE(ExStyle(Control(label)) & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE));
  }
}

TEST_F(FormLook, PicIconDrawsInA16By16PixelAreaInsideItsSunkenBorder) {
  CreateForm(96);
  RECT client{};
  ::GetClientRect(Control(Ctl::picIcon), &client);
  EXPECT_EQ(client.right, 16);
  EXPECT_EQ(client.bottom, 16);
}

TEST_F(FormLook, InitialStatesAfterLoad) {
  CreateForm();
  EXPECT_EQ(CheckState(Ctl::chkBalloon), BST_UNCHECKED);
  EXPECT_EQ(CheckState(Ctl::chkRefresh), BST_UNCHECKED);
  EXPECT_EQ(CheckState(Ctl::chkBalloonSound), BST_CHECKED);
  for (Ctl off : {Ctl::txtBalloonTitle, Ctl::txtBalloonText, Ctl::cboInfoIcon, Ctl::chkBalloonSound}) {
    EXPECT_FALSE(Enabled(off)) << app::IdOf(off);
  }
  for (Ctl on : {Ctl::lstEvent, Ctl::txtIconName, Ctl::cmdLoad, Ctl::picIcon, Ctl::cmdRefresh, Ctl::chkRefresh,
                 Ctl::chkBalloon, Ctl::txtToolTip, Ctl::cmdVanish, Ctl::cmdShow}) {
    EXPECT_TRUE(Enabled(on)) << app::IdOf(on);
  }
  EXPECT_EQ(::SendMessageW(Control(Ctl::cboInfoIcon), CB_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(Text(Ctl::cboInfoIcon), L"なし");
  EXPECT_EQ(::SendMessageW(Control(Ctl::lstEvent), LB_GETCURSEL, 0, 0), LB_ERR);
}

TEST_F(FormLook, InfoIconItemsWithTheirDataInListOrder) {
  CreateForm();
  HWND combo = Control(Ctl::cboInfoIcon);
  ASSERT_EQ(::SendMessageW(combo, CB_GETCOUNT, 0, 0), 4);
  const wchar_t* texts[] = {L"なし", L"情報", L"警告", L"エラー"};
  for (int i = 0; i < 4; ++i) {
    wchar_t item[16] = {};
    ::SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item));
    EXPECT_STREQ(item, texts[i]);
    EXPECT_EQ(::SendMessageW(combo, CB_GETITEMDATA, i, 0), i);
  }
}

// The colour a control gets, asked the way the control asks its parent.
struct ColorAnswer {
  HBRUSH brush;
  COLORREF background;
};
ColorAnswer AskColor(HWND control, UINT message) {
  common::WindowDc screen(nullptr);
  common::UniqueMemoryDc dc(::CreateCompatibleDC(screen.get()));
  const LRESULT brush =
      ::SendMessageW(::GetParent(control), message, reinterpret_cast<WPARAM>(dc.get()), reinterpret_cast<LPARAM>(control));
  return {reinterpret_cast<HBRUSH>(brush), ::GetBkColor(dc.get())};
}

TEST_F(FormLook, DisabledBalloonFieldsShowTheButtonFaceColour) {
  CreateForm();
  for (Ctl field : {Ctl::txtBalloonTitle, Ctl::txtBalloonText, Ctl::cboInfoIcon}) {
    for (UINT message : {WM_CTLCOLORSTATIC, WM_CTLCOLOREDIT, WM_CTLCOLORLISTBOX}) {
      const ColorAnswer answer = AskColor(Control(field), message);
      EXPECT_EQ(answer.brush, ::GetSysColorBrush(COLOR_BTNFACE)) << app::IdOf(field) << " " << message;
      EXPECT_EQ(answer.background, SystemColor(COLOR_BTNFACE));
    }
  }
}

TEST_F(FormLook, ControlsWithoutAColourKeepTheirStandardOne) {
  CreateForm();
  const ColorAnswer edit = AskColor(Control(Ctl::txtToolTip), WM_CTLCOLOREDIT);
  EXPECT_EQ(edit.background, SystemColor(COLOR_WINDOW));
  const ColorAnswer list = AskColor(Control(Ctl::lstEvent), WM_CTLCOLORLISTBOX);
  EXPECT_EQ(list.background, SystemColor(COLOR_WINDOW));
}

TEST_F(FormLook, EarlierEntriesLieAboveLaterOnes) {
  CreateForm(96);
  HWND window = form->hwnd();
  // chkBalloon over Frame1's top edge, at the same top.
  EXPECT_EQ(::ChildWindowFromPointEx(window, {20, 285}, CWP_SKIPINVISIBLE), Control(Ctl::chkBalloon));
  EXPECT_EQ(::ChildWindowFromPointEx(window, {200, 285}, CWP_SKIPINVISIBLE), Control(Ctl::Frame1));
  // The stacked buttons overlap by one pixel, the earlier entry on top.
  const RECT show = PlaceInParent(Control(Ctl::cmdShow));
  const RECT vanish = PlaceInParent(Control(Ctl::cmdVanish));
  const RECT refresh = PlaceInParent(Control(Ctl::cmdRefresh));
  EXPECT_EQ(show.bottom - vanish.top, 1);
  EXPECT_EQ(vanish.bottom - refresh.top, 1);
  EXPECT_EQ(::ChildWindowFromPointEx(window, {350, vanish.top}, CWP_SKIPINVISIBLE), Control(Ctl::cmdVanish));
  EXPECT_EQ(::ChildWindowFromPointEx(window, {350, refresh.top}, CWP_SKIPINVISIBLE), Control(Ctl::cmdRefresh));
}

// Every text the user can see has a glyph in the font it is drawn with.
TEST_F(FormLook, EveryVisibleTextHasItsGlyphs) {
  CreateForm();
  std::vector<std::pair<HFONT, std::wstring>> shown;
  for (const Expected& expected : kPlaces) {
    HWND window = Control(expected.id);
    if (WindowText(window).empty()) continue;
    shown.emplace_back(reinterpret_cast<HFONT>(::SendMessageW(window, WM_GETFONT, 0, 0)), WindowText(window));
  }
  for (const wchar_t* text :
       {app::texts::kInfoIconNone, app::texts::kInfoIconInformation, app::texts::kInfoIconWarning,
        app::texts::kInfoIconError, app::texts::kLeftDown, app::texts::kMiddleDown, app::texts::kRightDown,
        app::texts::kMouseMove, app::texts::kLeftUp, app::texts::kMiddleUp, app::texts::kRightUp,
        app::texts::kLeftDoubleClick, app::texts::kMiddleDoubleClick, app::texts::kRightDoubleClick,
        app::texts::kBalloonShow, app::texts::kBalloonClose, app::texts::kBalloonClick, app::texts::kTitle}) {
    shown.emplace_back(form->font(), text);
  }
  common::WindowDc screen(nullptr);
  for (const auto& [font, text] : shown) {
    ASSERT_TRUE(font);
    common::SelectedObject selected(screen.get(), font);
    std::wstring drawn;
    for (wchar_t c : text) {
      if (c != L'\r' && c != L'\n') drawn.push_back(c);
    }
    std::vector<WORD> glyphs(drawn.size() + 1);
    ASSERT_NE(::GetGlyphIndicesW(screen.get(), drawn.c_str(), static_cast<int>(drawn.size()), glyphs.data(),
                                 GGI_MARK_NONEXISTING_GLYPHS),
              GDI_ERROR);
    for (size_t i = 0; i < drawn.size(); ++i) {
      EXPECT_NE(glyphs[i], 0xFFFF) << "no glyph for U+" << std::hex << static_cast<int>(drawn[i]);
    }
  }
}

// Labels wrap at their width and are cut at their height, never grown.
TEST_F(FormLook, LabelsWrapLongLinesInsideTheirSize) {
  CreateForm(96);
  HWND label = Control(Ctl::Label1_5);  // its second line needs two lines at this width
  RECT client{};
  ::GetClientRect(label, &client);
  ASSERT_EQ(client.right, 281);
  ASSERT_EQ(client.bottom, 37);
  common::WindowDc screen(nullptr);
  common::UniqueMemoryDc dc(::CreateCompatibleDC(screen.get()));
  common::UniqueBitmap bitmap(::CreateCompatibleBitmap(screen.get(), client.right, client.bottom));
  common::SelectedObject selected(dc.get(), bitmap.get());
  ::SendMessageW(label, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.get()), PRF_CLIENT | PRF_ERASEBKGND);
  TEXTMETRICW metrics{};
  {
    common::SelectedObject font(dc.get(), form->font());
    ::GetTextMetricsW(dc.get(), &metrics);
  }
  const COLORREF background = ::GetPixel(dc.get(), client.right - 1, 0);
  auto inked = [&](int top, int bottom) {
    for (int y = top; y < bottom; ++y) {
      for (int x = 0; x < client.right; ++x) {
        if (::GetPixel(dc.get(), x, y) != background) return true;
      }
    }
    return false;
  };
  EXPECT_TRUE(inked(0, metrics.tmHeight));
  EXPECT_TRUE(inked(metrics.tmHeight, 2 * metrics.tmHeight));
  EXPECT_TRUE(inked(2 * metrics.tmHeight, client.bottom));  // the wrapped rest
  RECT place{};
  ::GetWindowRect(label, &place);
  EXPECT_EQ(place.bottom - place.top, 37);
}

}  // namespace
}  // namespace app_tests

namespace app_tests {
namespace {

// The layout plans lines of about 12 pixels at 96 DPI (195, 435 and 555
// twips for one, two and three lines). No label needs more lines than its
// height was planned for, and at most the bottom margin of its last line is
// cut, at either DPI.
TEST_P(FormLayout, EveryLabelShowsItsWholeText) {
  CreateForm(GetParam());
  for (Ctl label : {Ctl::Label1_0, Ctl::Label1_1, Ctl::Label1_2, Ctl::Label1_3, Ctl::Label1_4, Ctl::Label1_5,
                    Ctl::Label1_6, Ctl::Label2}) {
    HWND window = Control(label);
    RECT client{};
    ::GetClientRect(window, &client);
    common::WindowDc screen(nullptr);
    common::SelectedObject selected(screen.get(), reinterpret_cast<HFONT>(::SendMessageW(window, WM_GETFONT, 0, 0)));
    RECT needed = client;
    const std::wstring text = WindowText(window);
    ::DrawTextW(screen.get(), text.c_str(), -1, &needed, DT_WORDBREAK | DT_CALCRECT | DT_NOPREFIX);
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(screen.get(), &metrics);
    const int plannedLines = client.bottom / ::MulDiv(12, GetParam(), 96);
    EXPECT_LE(needed.bottom / metrics.tmHeight, plannedLines) << app::IdOf(label);
    EXPECT_LE(needed.bottom - client.bottom, metrics.tmHeight / 4) << app::IdOf(label);
    EXPECT_LE(needed.right, client.right) << app::IdOf(label);
  }
}

}  // namespace
}  // namespace app_tests
