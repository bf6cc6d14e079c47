#include "tests/app/form_test.h"

#include "common/unique_handle.h"

namespace app_tests {

void FormTest::SetUp() {
  ComTest::SetUp();
  ASSERT_EQ(support::CreateControl(&real), S_OK);
  proxy = common::make<support::RecordingProxy>(real);
  liveWithoutForm_ = common::module_lock::Count();
}

// Closing the window, before Form1 itself goes, lets go of everything the
// form holds of COM: the control (no reference but the test's own), its
// site, the event sink and the drop target.
void FormTest::TearDown() {
  if (form && form->hwnd()) {
    ::DestroyWindow(form->hwnd());
    PumpPending();
    EXPECT_EQ(common::module_lock::Count(), liveWithoutForm_) << "the closed window holds its site, sink or drop target";
    EXPECT_EQ(proxy->AddRef(), 2u) << "the closed window still holds the control";
    proxy->Release();
  }
  form.reset();
  PumpPending();
  proxy.reset();
  real.reset();
  ComTest::TearDown();
}

void FormTest::CreateForm(int dpi) {
  form = std::make_unique<app::Form1>();
  app::Form1::Options options;
  options.dpi = dpi;
  options.messageBox = [this](HWND, const std::wstring& text, const std::wstring&, UINT) { messages.push_back(text); };
  ASSERT_EQ(form->Create(common::ComPtr<IUnknown>(static_cast<IDispatch*>(proxy.get())), std::move(options)), S_OK);
}

void FormTest::Press(UINT key, bool shift) {
  BYTE keys[256] = {};
  keys[VK_SHIFT] = shift ? 0x80 : 0;
  ::SetKeyboardState(keys);
  const bool system = key == VK_F10;  // F10 is a system key, as Alt's are
  const std::pair<UINT, LPARAM> strokes[] = {{system ? WM_SYSKEYDOWN : WM_KEYDOWN, 1},
                                             {system ? WM_SYSKEYUP : WM_KEYUP, 0xC0000001}};
  for (const auto& [message, flags] : strokes) {
    MSG stroke{::GetFocus(), message, key, flags, 0, {}};
    if (form->PreTranslateMessage(stroke)) continue;
    ::TranslateMessage(&stroke);
    ::DispatchMessageW(&stroke);
  }
  keys[VK_SHIFT] = 0;
  ::SetKeyboardState(keys);
  PumpPending();
}

std::wstring FormTest::Text(Ctl id) const {
  std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(Control(id))) + 1, L'\0');
  text.resize(static_cast<size_t>(::GetWindowTextW(Control(id), text.data(), static_cast<int>(text.size()))));
  return text;
}

int FormTest::Background(Ctl id) const {
  common::WindowDc dc(Control(id));
  HWND parent = ::GetParent(Control(id));
  const auto brush = reinterpret_cast<HBRUSH>(::SendMessageW(
      parent == form->hwnd() ? parent : ::GetParent(parent), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc.get()),
      reinterpret_cast<LPARAM>(Control(id))));
  if (brush == ::GetSysColorBrush(COLOR_WINDOW)) return COLOR_WINDOW;
  return brush == ::GetSysColorBrush(COLOR_BTNFACE) ? COLOR_BTNFACE : -1;
}

std::vector<std::wstring> FormTest::LogLines() const {
  HWND log = Control(Ctl::lstEvent);
  std::vector<std::wstring> lines;
  const int count = static_cast<int>(::SendMessageW(log, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    std::wstring line(static_cast<size_t>(::SendMessageW(log, LB_GETTEXTLEN, i, 0)) + 1, L'\0');
    line.resize(static_cast<size_t>(::SendMessageW(log, LB_GETTEXT, i, reinterpret_cast<LPARAM>(line.data()))));
    lines.push_back(line);
  }
  return lines;
}

COLORREF FormTest::Pixel(Ctl id, int x, int y) const {
  HWND box = Control(id);
  RECT client{};
  ::GetClientRect(box, &client);
  common::WindowDc screen(nullptr);
  common::UniqueMemoryDc dc(::CreateCompatibleDC(screen.get()));
  common::UniqueBitmap bitmap(::CreateCompatibleBitmap(screen.get(), client.right, client.bottom));
  common::SelectedObject selected(dc.get(), bitmap.get());
  ::SendMessageW(box, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.get()), PRF_CLIENT);
  return ::GetPixel(dc.get(), x, y);
}

}  // namespace app_tests
