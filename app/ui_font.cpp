#include "app/ui_font.h"

#include <string>
#include <vector>

namespace app {
namespace {

// Faces that carry Japanese, most fitting first. On a Western Windows
// without them, or under Wine without a substitute, the empty face leaves
// the choice to the mapper, which honours the character set.
constexpr const wchar_t* kCandidateFaces[] = {
    L"MS UI Gothic", L"Meiryo UI", L"Yu Gothic UI", L"MS PGothic", L"IPAPGothic", L"IPAGothic", L"",
};

// Kana and kanji that the window's texts use.
constexpr wchar_t kProbe[] = L"通知アイコンのテストです。表示更新！";

common::UniqueFont CreateFace(const wchar_t* face, int dpi) {
  LOGFONTW description{};
  description.lfHeight = -::MulDiv(9, dpi, 72);
  description.lfWeight = FW_NORMAL;
  description.lfCharSet = SHIFTJIS_CHARSET;
  description.lfOutPrecision = OUT_DEFAULT_PRECIS;
  description.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  description.lfQuality = DEFAULT_QUALITY;
  description.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
  lstrcpynW(description.lfFaceName, face, LF_FACESIZE);
  return common::UniqueFont(::CreateFontIndirectW(&description));
}

}  // namespace

bool FontShowsText(HFONT font, std::wstring_view text) {
  std::wstring shown;
  for (wchar_t c : text) {
    if (c != L'\r' && c != L'\n') shown.push_back(c);
  }
  if (shown.empty()) return true;
  common::WindowDc screen(nullptr);
  common::UniqueMemoryDc dc(::CreateCompatibleDC(screen.get()));
  if (!dc) return false;
  common::SelectedObject selected(dc.get(), font);
  std::vector<WORD> glyphs(shown.size());
  if (::GetGlyphIndicesW(dc.get(), shown.c_str(), static_cast<int>(shown.size()), glyphs.data(),
                         GGI_MARK_NONEXISTING_GLYPHS) == GDI_ERROR) {
    return false;
  }
  for (WORD glyph : glyphs) {
    if (glyph == 0xFFFF) return false;
  }
  return true;
}

common::UniqueFont CreateUiFont(int dpi) {
  common::UniqueFont fallback;
  for (const wchar_t* face : kCandidateFaces) {
    common::UniqueFont font = CreateFace(face, dpi);
    if (!font) continue;
    if (FontShowsText(font.get(), kProbe)) return font;
    if (!fallback) fallback = std::move(font);
  }
  return fallback;
}

}  // namespace app
