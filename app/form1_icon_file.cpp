// Loading an icon file into Traylume1, and dropping a file name onto txtIconName.
#include "app/file_drop_target.h"
#include "app/form1.h"
#include "app/form1_layout.h"
#include "app/picture_file.h"
#include "app/texts.h"

namespace app {

void Form1::cmdLoad_Click() {
  common::ComPtr<IPictureDisp> picture;
  if (!Check(LoadPictureFile(Text(Ctl::txtIconName), &picture))) return;
  if (!Check(Traylume1().PutRefIcon(picture.get()))) return;
  picture.reset();  // from here on the component alone holds it
  Picture(Ctl::picIcon)->Clear();
  Check(DrawIconPreview());  // what the component now returns, not what was loaded
}

void Form1::RegisterFileDrops() {
  for (const ControlSpec& row : Form1Layout()) {
    if (!(row.settings & kAcceptsFiles)) continue;
    // txtIconName is the one control that takes files.
    // The drop is handled once Drop has returned: a message box inside it
    // would hold up the program the file was dragged from.
    dropTarget_ = common::make<FileDropTarget>([this](common::ComResult read, std::wstring path) {
      pendingDrops_.push_back({std::move(read), std::move(path)});
      ::PostMessageW(hwnd(), kFileDroppedMessage, 0, 0);
    });
    if (!dropTarget_) {
      Check(common::ComResult::Failure(E_OUTOFMEMORY, texts::kAcceptFileDrops));
      return;
    }
    const HRESULT registered = ::RegisterDragDrop(Control(row.id), dropTarget_.get());
    if (FAILED(registered)) {
      dropTarget_->Detach();
      Check(common::ComResult::Failure(registered, texts::kAcceptFileDrops));
      return;
    }
    dropTargetWindow_ = Control(row.id);
  }
}

IDropTarget* Form1::iconNameDropTarget() const { return dropTarget_.get(); }

void Form1::txtIconName_OLEDragDrop() {
  if (pendingDrops_.empty()) return;
  const Drop drop = std::move(pendingDrops_.front());
  pendingDrops_.pop_front();
  if (!Check(drop.read)) return;
  SetText(Ctl::txtIconName, drop.path);
}

}  // namespace app
