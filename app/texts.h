#pragma once
// Every text the user sees, in one place (UTF-8 source, UTF-16 at run time).

#include <string>
#include <string_view>

namespace app::texts {

// The window.
inline constexpr wchar_t kTitle[] = L"Traylumeコントロール サンプルプログラム";

// Captions of the controls.
inline constexpr wchar_t kCmdLoad[] = L"ロード";
inline constexpr wchar_t kCmdRefresh[] = L"更新！\r\n変更したプロパティを反映させます。";
inline constexpr wchar_t kChkRefresh[] = L"自動更新\r\nプロパティに変化があると、即座に反映させます。";
inline constexpr wchar_t kChkBalloon[] = L"バルーンを表示";
// What screen readers call the icon preview (it has no label of its own).
inline constexpr wchar_t kPicIconName[] = L"アイコンのプレビュー";
inline constexpr wchar_t kChkBalloonSound[] = L"表示時にサウンドを鳴らす";
inline constexpr wchar_t kLabel1_3[] = L"アイコン";
inline constexpr wchar_t kLabel1_2[] = L"テキスト";
inline constexpr wchar_t kLabel1_1[] = L"タイトル";
inline constexpr wchar_t kTxtToolTip[] = L"ツールチップのテストです。\r\n";
inline constexpr wchar_t kCmdVanish[] = L"非表示！\r\nアイコンを非表示にします。";
inline constexpr wchar_t kCmdShow[] = L"表示！\r\nアイコンを表示させます。";
inline constexpr wchar_t kLabel1_6[] =
    L"バルーン\r\nWindowsMe/2000以降では、通知アイコンに情報バルーンの表示も出来ます。";
inline constexpr wchar_t kLabel2[] =
    L"通知アイコン(Traylume)コントロールをご利用頂き、ありがとうございます。\r\n"
    L"Traylumeコントロールは、通知領域にアイコンを表示させる為のコントロールとなっております。\r\n"
    L"\r\n"
    L"本サンプルプログラムは、Traylumeコントロールの使用方法を紹介したものです。\r\n"
    L"\r\n"
    L"詳しい使用方法は、同梱のドキュメントをご覧下さい。";
inline constexpr wchar_t kLabel1_5[] =
    L"ツールチップテキスト\r\n通知アイコン上にマウスカーソルを持って行った時に表示される文字列を指定します。";
inline constexpr wchar_t kLabel1_4[] = L"アイコン\r\n実際に通知領域に表示されるアイコンを指定します。";
inline constexpr wchar_t kLabel1_0[] =
    L"イベントログ\r\n通知アイコンや、情報バルーンに対するイベントを取得できます。";

// Items of cboInfoIcon.
inline constexpr wchar_t kInfoIconNone[] = L"なし";
inline constexpr wchar_t kInfoIconInformation[] = L"情報";
inline constexpr wchar_t kInfoIconWarning[] = L"警告";
inline constexpr wchar_t kInfoIconError[] = L"エラー";

// The control's saved tooltip (no line break, unlike txtToolTip's text).
inline constexpr wchar_t kSavedToolTip[] = L"ツールチップのテストです。";

// Lines of the event log.
inline constexpr wchar_t kLeftDown[] = L"左ボタンが押されました。";
inline constexpr wchar_t kMiddleDown[] = L"中ボタンが押されました。";
inline constexpr wchar_t kRightDown[] = L"右ボタンが押されました。";
inline constexpr wchar_t kMouseMove[] = L"カーソルが通過しました。";
inline constexpr wchar_t kLeftUp[] = L"左ボタンが離されました。";
inline constexpr wchar_t kMiddleUp[] = L"中ボタンが離されました。";
inline constexpr wchar_t kRightUp[] = L"右ボタンが離されました。";
inline constexpr wchar_t kLeftDoubleClick[] = L"左ダブルクリックされました。";
inline constexpr wchar_t kMiddleDoubleClick[] = L"中ダブルクリックされました。";
inline constexpr wchar_t kRightDoubleClick[] = L"右ダブルクリックされました。";
inline constexpr wchar_t kBalloonShow[] = L"バルーンが表示されました。";
inline constexpr wchar_t kBalloonClose[] = L"バルーンが閉じられました。";
inline constexpr wchar_t kBalloonClick[] = L"バルーンがクリックされました。";

// lstEvent's shortcut menu; Ctrl+C in the log does what コピー does.
inline constexpr wchar_t kMnuLogCopy[] = L"コピー\tCtrl+C";
inline constexpr wchar_t kMnuLogCopyAll[] = L"すべてコピー";

// The failure message: what failed, why, and the code.
inline constexpr wchar_t kFailureHeading[] = L"次の処理に失敗しました。";
inline constexpr wchar_t kFailureOperation[] = L"処理: ";
inline constexpr wchar_t kFailureReason[] = L"理由: ";
inline constexpr wchar_t kFailureCode[] = L"エラーコード: ";
inline constexpr wchar_t kNoReason[] = L"(詳しい説明はありません)";

// What failed, as the failure message names it.
inline constexpr wchar_t kCreateWindow[] = L"メインウィンドウの作成";
inline constexpr wchar_t kHostComponent[] = L"コンポーネント Traylume1 の組み込み";
inline constexpr wchar_t kLoadSavedIcon[] = L"Traylume1 の保存されたアイコンの読み込み";
inline constexpr wchar_t kDrawPreview[] = L"アイコンのプレビュー表示";
inline constexpr wchar_t kReadDroppedFile[] = L"ドロップされたファイル名の取得";
inline constexpr wchar_t kAddLogLine[] = L"イベントログへの追加";
inline constexpr wchar_t kAcceptFileDrops[] = L"アイコンファイルのドロップの受け付け";
inline constexpr wchar_t kShowLogMenu[] = L"イベントログのメニューの表示";
inline constexpr wchar_t kCopyToClipboard[] = L"イベントログのクリップボードへのコピー";
inline constexpr wchar_t kNoDroppedFile[] = L"ドロップされたデータにファイルが含まれていません。";

inline std::wstring CreateComponent(std::wstring_view progId, std::wstring_view fileName) {
  std::wstring text = L"コンポーネント「";
  text.append(progId).append(L"」(").append(fileName).append(L") の作成");
  return text;
}

inline std::wstring LoadIconFile(std::wstring_view path) {
  std::wstring text = L"アイコンファイル「";
  text.append(path).append(L"」の読み込み");
  return text;
}

// Why an icon file could not be loaded.
inline constexpr wchar_t kNoFileName[] = L"ファイル名が入力されていません。";
inline constexpr wchar_t kFileNotFound[] = L"ファイルが見つかりません。";
inline constexpr wchar_t kIsFolder[] = L"フォルダーが指定されています。ファイルを指定してください。";
inline constexpr wchar_t kNotAPicture[] =
    L"このファイルは読み込めないか、画像ファイルではありません。アイコン (.ico) またはビットマップ (.bmp) のファイルを指定してください。";

}  // namespace app::texts
