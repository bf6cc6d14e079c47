#include "tests/app/form_fixture.h"

#include "common/unique_handle.h"
#include "tests/support/message_pump.h"

namespace app_tests {

std::wstring WindowText(HWND window) {
  std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<size_t>(::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

void FormTest::SetUp() {
  ComTest::SetUp();
  fake = fakes::MakeFakeTraylume(kFakeIconColor);
  ASSERT_TRUE(fake);
}

void FormTest::TearDown() {
  form.reset();
  testing_support::PumpMessagesFor(0);
  fake.reset();
  ComTest::TearDown();
}

void FormTest::CreateForm(int dpi) {
  form = std::make_unique<app::Form1>();
  app::Form1::Options options;
  options.dpi = dpi;
  options.messageBox = [this](HWND owner, const std::wstring& text, const std::wstring& caption, UINT type) {
    messages.push_back({owner, text, caption, type});
  };
  common::ComPtr<IUnknown> control;
  ASSERT_EQ(fake.As(&control), S_OK);
  ASSERT_EQ(form->Create(std::move(control), std::move(options)), S_OK);
  ASSERT_TRUE(form->hwnd());
}

void FormTest::ShowForm(int dpi) {
  CreateForm(dpi);
  form->Show(SW_SHOW);
  testing_support::PumpMessagesFor(50);
}

std::wstring FormTest::Text(app::Ctl id) const { return WindowText(Control(id)); }

void FormTest::Type(app::Ctl id, const std::wstring& text) {
  for (wchar_t c : text) ::SendMessageW(Control(id), WM_CHAR, c, 0);
}

void FormTest::Click(app::Ctl id) { ::SendMessageW(Control(id), BM_CLICK, 0, 0); }

std::vector<std::wstring> FormTest::LogLines() const {
  HWND log = Control(app::Ctl::lstEvent);
  std::vector<std::wstring> lines;
  const int count = static_cast<int>(::SendMessageW(log, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    std::wstring line(static_cast<size_t>(::SendMessageW(log, LB_GETTEXTLEN, i, 0)) + 1, L'\0');
    line.resize(static_cast<size_t>(::SendMessageW(log, LB_GETTEXT, i, reinterpret_cast<LPARAM>(line.data()))));
    lines.push_back(line);
  }
  return lines;
}

int FormTest::LogSelection() const {
  return static_cast<int>(::SendMessageW(Control(app::Ctl::lstEvent), LB_GETCURSEL, 0, 0));
}

std::vector<COLORREF> FormTest::PreviewPixels(SIZE* size) const {
  HWND box = Control(app::Ctl::picIcon);
  RECT client{};
  ::GetClientRect(box, &client);
  common::WindowDc screen(nullptr);
  common::UniqueMemoryDc dc(::CreateCompatibleDC(screen.get()));
  common::UniqueBitmap bitmap(::CreateCompatibleBitmap(screen.get(), client.right, client.bottom));
  std::vector<COLORREF> pixels;
  {
    common::SelectedObject selected(dc.get(), bitmap.get());
    ::SendMessageW(box, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.get()), PRF_CLIENT);
    for (int y = 0; y < client.bottom; ++y) {
      for (int x = 0; x < client.right; ++x) pixels.push_back(::GetPixel(dc.get(), x, y));
    }
  }
  if (size) *size = {client.right, client.bottom};
  return pixels;
}

bool FormTest::PreviewIsAll(COLORREF color) const {
  SIZE size{};
  const std::vector<COLORREF> pixels = PreviewPixels(&size);
  if (size.cx < 16 || size.cy < 16) return false;
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) {
      if (pixels[static_cast<size_t>(y * size.cx + x)] != color) return false;
    }
  }
  return true;
}

void FormTest::PumpLikeProgram() {
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (form && form->PreTranslateMessage(message)) continue;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
}

}  // namespace app_tests
