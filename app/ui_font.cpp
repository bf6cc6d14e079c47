#include "app/ui_font.h"

#include <string>
#include <vector>

namespace app {
namespace {

// Faces that carry Japanese, most fitting first. The layout is sized for a
// proportional face (kana narrower than kanji); a fixed-pitch face makes
// captions such as "アイコン" overflow their labels. The empty face leaves
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

// What the mapper really gave for `font` (a name may stand for another face).
bool IsProportional(HFONT font) {
  common::WindowDc screen(nullptr);
  common::SelectedObject selected(screen.get(), font);
  TEXTMETRICW metrics{};
  // TMPF_FIXED_PITCH set means variable pitch.
  return ::GetTextMetricsW(screen.get(), &metrics) && (metrics.tmPitchAndFamily & TMPF_FIXED_PITCH);
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

// The first proportional candidate that shows Japanese; else the first that
// shows Japanese; else whatever the mapper gives.
common::UniqueFont CreateUiFont(int dpi) {
  common::UniqueFont showsJapanese;
  common::UniqueFont anyFont;
  for (const wchar_t* face : kCandidateFaces) {
    common::UniqueFont font = CreateFace(face, dpi);
    if (!font) continue;
    if (FontShowsText(font.get(), kProbe)) {
      if (IsProportional(font.get())) return font;
      if (!showsJapanese) showsJapanese = std::move(font);
    } else if (!anyFont) {
      anyFont = std::move(font);
    }
  }
  return showsJapanese ? std::move(showsJapanese) : std::move(anyFont);
}

}  // namespace app
