#pragma once
// The drop target of txtIconName: it takes drags that carry a file list
// (CF_HDROP) and refuses every other drag with no drop effect, so that such
// a drop changes nothing.

#include <windows.h>
#include <ole2.h>

#include <functional>
#include <string>

#include "common/com_object.h"
#include "common/com_result.h"

namespace app {

class FileDropTarget : public common::ComObject<IDropTarget> {
 public:
  // What an accepted drop brought: the first file's full path, or why it
  // could not be read.
  using DropHandler = std::function<void(common::ComResult read, std::wstring path)>;

  // `onDrop` hears of every accepted drop, inside Drop: it must only record
  // it, for the drag source waits until Drop returns.
  explicit FileDropTarget(DropHandler onDrop);

  // Forgets the handler: the window it belongs to is going.
  void Detach();

  STDMETHODIMP DragEnter(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;
  STDMETHODIMP DragOver(DWORD keys, POINTL point, DWORD* effect) override;
  STDMETHODIMP DragLeave() override;
  STDMETHODIMP Drop(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;

 private:
  ~FileDropTarget() override = default;

  DropHandler onDrop_;
  bool accepting_ = false;  // the drag over the control now carries a file list
};

// True when `data` offers a file list.
bool CarriesFileList(IDataObject* data);

// The full path of the first file of `data`'s file list.
common::ComResult FirstDroppedFile(IDataObject* data, std::wstring* path);

}  // namespace app
