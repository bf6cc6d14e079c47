// Start-up with the recording fake: what the control receives, the balloon
// switch, the preview, the saved state, and failures that must not stop
// the window from opening.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <olectl.h>

#include "common/com_object.h"
#include "contract/traylume_contract.h"
#include "tests/app/form_fixture.h"
#include "tests/support/message_pump.h"

namespace app_tests {
namespace {

using app::Ctl;
using ::testing::HasSubstr;

class FormStartup : public FormTest {};

TEST_F(FormStartup, TheControlReceivesItsSavedStateThenExactlyTheLoadSequence) {
  CreateForm();
  const std::vector<std::wstring> expected = {
      L"setclientsite",
      L"bag _extentx VT_I4 847",
      L"bag _extenty VT_I4 847",
      L"bag icon VT_DISPATCH",
      L"bag tooltiptext VT_BSTR ツールチップのテストです。",
      L"advise",
      L"let BalloonIcon VT_I4 0",
      L"get Icon",
      L"get BalloonSupported",
      L"get Icon",
  };
  EXPECT_EQ(Calls(), expected);
  EXPECT_TRUE(messages.empty());
}

TEST_F(FormStartup, SavedIconIsA32By32IconPictureAndTheToolTipHasNoLineBreak) {
  CreateForm();
  EXPECT_EQ(fake->loadedToolTipText, L"ツールチップのテストです。");
  ASSERT_TRUE(fake->loadedIcon);
  common::ComPtr<IPicture> picture;
  ASSERT_EQ(fake->loadedIcon.As(&picture), S_OK);
  SHORT type = 0;
  ASSERT_EQ(picture->get_Type(&type), S_OK);
  EXPECT_EQ(type, PICTYPE_ICON);
  OLE_XSIZE_HIMETRIC width = 0;
  OLE_YSIZE_HIMETRIC height = 0;
  picture->get_Width(&width);
  picture->get_Height(&height);
  EXPECT_EQ(width, 847);  // 32 pixels
  EXPECT_EQ(height, 847);
}

TEST_F(FormStartup, ChkBalloonFollowsBalloonSupported) {
  CreateForm();
  EXPECT_TRUE(Enabled(Ctl::chkBalloon));
  form.reset();
  fake->balloonSupported = false;
  CreateForm();
  EXPECT_FALSE(Enabled(Ctl::chkBalloon));
  EXPECT_EQ(CheckState(Ctl::chkBalloon), BST_UNCHECKED);
}

TEST_F(FormStartup, PreviewShowsTheControlsIconAt16By16OnceShown) {
  ShowForm(96);
  EXPECT_TRUE(PreviewIsAll(kFakeIconColor));
  // It survives being covered and repainted.
  ::InvalidateRect(Control(Ctl::picIcon), nullptr, TRUE);
  ::UpdateWindow(Control(Ctl::picIcon));
  EXPECT_TRUE(PreviewIsAll(kFakeIconColor));
}

TEST_F(FormStartup, PreviewIs16By16PixelsAlsoAtAHigherDpi) {
  ShowForm(144);
  SIZE size{};
  const std::vector<COLORREF> pixels = PreviewPixels(&size);
  ASSERT_GT(size.cx, 16);
  EXPECT_TRUE(PreviewIsAll(kFakeIconColor));
  EXPECT_NE(pixels[16], kFakeIconColor);  // row 0, column 16: outside the drawing
  EXPECT_NE(pixels[static_cast<size_t>(16 * size.cx)], kFakeIconColor);  // row 16
}

TEST_F(FormStartup, AFailingStepShowsOneMessageAndTheWindowStillOpens) {
  fake->FailOn(contract::dispid::kBalloonIcon, L"種類を受け付けません。");
  ShowForm();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].owner, form->hwnd());
  EXPECT_THAT(messages[0].text, HasSubstr(L"BalloonIcon"));
  EXPECT_THAT(messages[0].text, HasSubstr(L"種類を受け付けません。"));
  EXPECT_THAT(messages[0].text, HasSubstr(L"0x80020009"));
  EXPECT_TRUE(messages[0].type & MB_ICONERROR);
  EXPECT_TRUE(::IsWindowVisible(form->hwnd()));
}

TEST_F(FormStartup, AControlWithoutAnIconStopsTheLoadAfterOneMessage) {
  fake->iconIsEmpty = true;
  ShowForm();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_THAT(messages[0].text, HasSubstr(L"Icon"));
  EXPECT_EQ(Calls().back(), L"get Icon");  // BalloonSupported is not read any more
  EXPECT_TRUE(::IsWindowVisible(form->hwnd()));
}

TEST_F(FormStartup, ClosingTheWindowReleasesTheControl) {
  CreateForm();
  fake->ClearLog();
  ::SendMessageW(form->hwnd(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(form->hwnd());
  EXPECT_EQ(fake->SinkCount(), 0u);
  const std::vector<std::wstring>& calls = Calls();
  EXPECT_NE(std::find(calls.begin(), calls.end(), L"unadvise"), calls.end());
  EXPECT_NE(std::find(calls.begin(), calls.end(), L"close"), calls.end());
  EXPECT_EQ(calls.back(), L"setclientsite null");
  EXPECT_EQ(fake->References(), 1u);  // the test's own reference only
}

}  // namespace
}  // namespace app_tests

namespace app_tests {
namespace {

// An object that is no automation control at all.
class NotAControl : public common::ComObject<IPersist> {
 public:
  STDMETHODIMP GetClassID(CLSID* id) override {
    *id = CLSID_NULL;
    return S_OK;
  }
};

TEST_F(FormStartup, AnObjectThatCannotBeHostedShowsOneMessageAndTheWindowOpens) {
  form = std::make_unique<app::Form1>();
  app::Form1::Options options;
  options.dpi = 96;
  options.messageBox = [this](HWND owner, const std::wstring& text, const std::wstring& caption, UINT type) {
    messages.push_back({owner, text, caption, type});
  };
  auto object = common::make<NotAControl>();
  common::ComPtr<IUnknown> unknown;
  ASSERT_EQ(object.As(&unknown), S_OK);
  object.reset();
  ASSERT_EQ(form->Create(std::move(unknown), std::move(options)), S_OK);
  form->Show(SW_SHOW);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_THAT(messages[0].text, HasSubstr(L"Traylume1"));
  EXPECT_THAT(messages[0].text, HasSubstr(L"0x80004002"));  // E_NOINTERFACE
  EXPECT_TRUE(::IsWindowVisible(form->hwnd()));
}

}  // namespace
}  // namespace app_tests
