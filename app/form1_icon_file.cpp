// Loading an icon file into Traylume1, and dropping a file name onto txtIconName.
#include "app/file_drop_target.h"
#include "app/form1.h"
#include "app/picture_file.h"

namespace app {

void Form1::cmdLoad_Click() {
  common::ComPtr<IPictureDisp> picture;
  if (!Check(LoadPictureFile(Text(Ctl::txtIconName), &picture))) return;
  if (!Check(Traylume1().PutRefIcon(picture.get()))) return;
  picture.reset();  // from here on the component alone holds it
  picIcon_.Clear();
  Check(DrawIconPreview());  // what the component now returns, not what was loaded
}

void Form1::txtIconName_OLEDragDrop() {
  if (pendingDrops_.empty()) return;
  const Drop drop = std::move(pendingDrops_.front());
  pendingDrops_.pop_front();
  if (!Check(drop.read)) return;
  SetText(Ctl::txtIconName, drop.path);
}

}  // namespace app
