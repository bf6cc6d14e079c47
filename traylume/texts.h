#pragma once
// Every text of the control that reaches a user, through EXCEPINFO or
// IErrorInfo descriptions. UTF-8 source, compiled as UTF-16.

namespace traylume::texts {

// Where the failure comes from (EXCEPINFO::bstrSource).
constexpr const wchar_t kSource[] = L"TraylumeControl.Traylume";

constexpr const wchar_t kNotAPicture[] =
    L"Icon に設定できるのは画像オブジェクト (アイコンまたはビットマップ) だけです。";
constexpr const wchar_t kUnusablePicture[] =
    L"この画像は通知領域のアイコンに使えません。アイコンかビットマップの画像を指定してください。";
constexpr const wchar_t kIconConversionFailed[] =
    L"画像から通知領域のアイコンを作れませんでした。";
constexpr const wchar_t kShowFailed[] = L"通知領域にアイコンを表示できませんでした。";
constexpr const wchar_t kUpdateFailed[] = L"通知領域のアイコンを更新できませんでした。";
constexpr const wchar_t kWindowFailed[] =
    L"通知領域からの知らせを受け取るウィンドウを作れませんでした。";
constexpr const wchar_t kDefaultIconFailed[] = L"既定のアイコンを作れませんでした。";
constexpr const wchar_t kSavedValueMistyped[] = L"保存されたプロパティの値の型が正しくありません。";
constexpr const wchar_t kSavedIconUnusable[] = L"保存されたアイコンの画像を読み込めませんでした。";
constexpr const wchar_t kSavedExtentNegative[] = L"保存された大きさが負の値です。";

}  // namespace traylume::texts
