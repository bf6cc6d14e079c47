// The control's saved state: the contract's keys in a property bag (what a
// form keeps), and the same values in a stream of our own format. Loading is all or nothing: a value of the
// wrong type fails the load and changes nothing.

#include <utility>

#include "common/excep_info.h"
#include "common/foreign_variant.h"
#include "common/hresult.h"
#include "common/variant.h"
#include "contract/traylume_contract.h"
#include "traylume/picture_bytes.h"
#include "traylume/pictures.h"
#include "traylume/stream_io.h"
#include "traylume/traylume_control.h"
#include "traylume/texts.h"

namespace traylume {
namespace {

namespace bag_key = contract::bag_key;

// The stream: magic, format version, extent x and y, tooltip (count and
// UTF-16 units), then a flag and, when set, the picture as its own
// IPersistStream wrote it (byte count and bytes).
constexpr uint32_t kStreamMagic = 0x4D4C5254;  // "TRLM"
constexpr uint32_t kStreamVersion = 1;
constexpr uint32_t kMaxToolTipLength = 1u << 20;
constexpr uint32_t kMaxPictureBytes = 16u << 20;

// A saved picture: an object that answers IPictureDisp. Nothing means "no
// picture of its own" (the default icon).
HRESULT SavedPicture(const VARIANT& saved, common::ComPtr<IPictureDisp>* picture) {
  picture->reset();
  common::ComPtr<IUnknown> object;
  RETURN_IF_FAILED(common::ReadObject(saved, &object));
  if (!object) return S_OK;
  if (FAILED(object.As(picture)) || !*picture) RETURN_HR(DISP_E_TYPEMISMATCH);
  return S_OK;
}

// Reads `key` into `value`; false when the bag does not have it.
bool ReadKey(IPropertyBag* bag, const wchar_t* key, IErrorLog* errors, common::UniqueVariant* value) {
  if (FAILED(bag->Read(key, value->put(), errors))) return false;
  return value->type() != VT_EMPTY;
}

HRESULT LogBadValue(IErrorLog* errors, const wchar_t* key, const ControlError& error) {
  if (errors) {
    common::UniqueExcepInfo info;
    FillExcepInfo(error, info.get());
    errors->AddError(key, info.get());
  }
  return ReportError(error, IID_IPersistPropertyBag);
}

HRESULT LoadPictureBytes(const std::vector<BYTE>& bytes, common::ComPtr<IPictureDisp>* picture) {
  // The platform's loader trusts the sizes inside the bytes: only bytes
  // whose every size lies within them go on to it.
  if (!IsWellFormedSavedPicture(bytes.data(), bytes.size())) RETURN_HR(STG_E_READFAULT);
  common::ComPtr<IStream> memory;
  RETURN_IF_FAILED(::CreateStreamOnHGlobal(nullptr, TRUE, memory.put()));
  RETURN_IF_FAILED(WriteBytes(memory.get(), bytes.data(), static_cast<ULONG>(bytes.size())));
  LARGE_INTEGER start{};
  RETURN_IF_FAILED(memory->Seek(start, STREAM_SEEK_SET, nullptr));
  // An empty picture object that reads itself from the stream.
  common::ComPtr<IPersistStream> persist;
  RETURN_IF_FAILED(::OleCreatePictureIndirect(nullptr, IID_IPersistStream, TRUE, persist.put_void()));
  RETURN_IF_FAILED(persist->Load(memory.get()));
  return persist.As(picture);
}

}  // namespace

TraylumeControl::SavedProperties TraylumeControl::CurrentProperties() const {
  SavedProperties properties;
  properties.extent = extent_;
  properties.icon = picture_;
  properties.toolTip = tray_.toolTip();
  return properties;
}

void TraylumeControl::UseProperties(SavedProperties properties) {
  extent_ = properties.extent;
  if (!properties.trayIcon) properties.trayIcon = defaultTrayIcon_;
  UseIcon(std::move(properties.icon), std::move(properties.trayIcon));
  tray_.SetToolTip(std::move(properties.toolTip));
  dirty_ = false;
  ControlError ignored;
  // Loading while AutoRefresh is on: a failure to update the shell here
  // shows again with the next change or Refresh.
  Changed(&ignored);
}

void TraylumeControl::ResetToInitialValues() {
  SavedProperties initial;
  initial.extent = kInitialExtent;
  UseProperties(std::move(initial));
}

// --- IPersist ---

STDMETHODIMP TraylumeControl::GetClassID(CLSID* clsid) {
  RETURN_IF_NOT_HOME_THREAD(home_);
  if (!clsid) return E_POINTER;
  *clsid = CLSID_Traylume;
  return S_OK;
}

// --- IPersistPropertyBag / IPersistStreamInit ---

STDMETHODIMP TraylumeControl::InitNew() {
  RETURN_IF_NOT_HOME_THREAD(home_);
  ResetToInitialValues();
  return S_OK;
}

STDMETHODIMP TraylumeControl::IsDirty() {
  RETURN_IF_NOT_HOME_THREAD(home_);
  return dirty_ ? S_OK : S_FALSE;
}

HRESULT TraylumeControl::ReadBag(IPropertyBag* bag, IErrorLog* errors, SavedProperties* properties) {
  const ControlError mistyped{DISP_E_TYPEMISMATCH, texts::kSavedValueMistyped};
  common::UniqueVariant value;
  for (const auto& [key, extent] : {std::pair{bag_key::kExtentX, &properties->extent.cx},
                                    std::pair{bag_key::kExtentY, &properties->extent.cy}}) {
    if (!ReadKey(bag, key, errors, &value)) continue;
    common::UniqueVariant number;
    if (FAILED(common::ReadScalar(*value.get(), VT_I4, &number))) return LogBadValue(errors, key, mistyped);
    // A size, as IOleObject::SetExtent takes it: never negative.
    if (V_I4(number.get()) < 0) return LogBadValue(errors, key, {E_INVALIDARG, texts::kSavedExtentNegative});
    *extent = V_I4(number.get());
  }
  if (ReadKey(bag, bag_key::kIcon, errors, &value)) {
    common::ComPtr<IPictureDisp> picture;
    if (FAILED(SavedPicture(*value.get(), &picture))) return LogBadValue(errors, bag_key::kIcon, mistyped);
    ControlError error;
    if (FAILED(PrepareIcon(picture, &properties->trayIcon, &error))) {
      return LogBadValue(errors, bag_key::kIcon, {error.code, texts::kSavedIconUnusable});
    }
    properties->icon = std::move(picture);
  }
  if (ReadKey(bag, bag_key::kToolTipText, errors, &value)) {
    common::UniqueVariant text;
    if (FAILED(common::ReadScalar(*value.get(), VT_BSTR, &text))) {
      return LogBadValue(errors, bag_key::kToolTipText, mistyped);
    }
    const BSTR chars = V_BSTR(text.get());
    properties->toolTip.assign(chars, ::SysStringLen(chars));
  }
  return S_OK;
}

STDMETHODIMP TraylumeControl::Load(IPropertyBag* bag, IErrorLog* errors) {
  RETURN_IF_NOT_HOME_THREAD(home_);
  if (!bag) return E_POINTER;
  return common::NoThrow([&] {
    // A key the bag does not have keeps the value the control has now.
    SavedProperties properties = CurrentProperties();
    RETURN_IF_FAILED(ReadBag(bag, errors, &properties));
    UseProperties(std::move(properties));
    return S_OK;
  });
}

STDMETHODIMP TraylumeControl::Save(IPropertyBag* bag, BOOL clearDirty, BOOL) {
  RETURN_IF_NOT_HOME_THREAD(home_);
  if (!bag) return E_POINTER;
  RETURN_IF_FAILED(bag->Write(bag_key::kExtentX, common::LongVariant(extent_.cx).get()));
  RETURN_IF_FAILED(bag->Write(bag_key::kExtentY, common::LongVariant(extent_.cy).get()));
  // The default icon is not saved: loading without "icon" brings it back.
  if (picture_) RETURN_IF_FAILED(bag->Write(bag_key::kIcon, common::DispatchVariant(picture_.get()).get()));
  common::UniqueVariant text = common::TextVariant(tray_.toolTip());
  if (text.type() != VT_BSTR) RETURN_HR(E_OUTOFMEMORY);
  RETURN_IF_FAILED(bag->Write(bag_key::kToolTipText, text.get()));
  if (clearDirty) dirty_ = false;
  return S_OK;
}

HRESULT TraylumeControl::ReadStream(IStream* stream, SavedProperties* properties) {
  const HRESULT damaged = STG_E_READFAULT;
  uint32_t magic = 0, version = 0, hasIcon = 0;
  RETURN_IF_FAILED(ReadUint32(stream, &magic));
  RETURN_IF_FAILED(ReadUint32(stream, &version));
  if (magic != kStreamMagic || version != kStreamVersion) return damaged;
  int32_t x = 0, y = 0;
  RETURN_IF_FAILED(ReadInt32(stream, &x));
  RETURN_IF_FAILED(ReadInt32(stream, &y));
  if (x < 0 || y < 0) return damaged;  // a size is never negative
  properties->extent = {x, y};
  RETURN_IF_FAILED(ReadText(stream, kMaxToolTipLength, &properties->toolTip));
  RETURN_IF_FAILED(ReadUint32(stream, &hasIcon));
  if (hasIcon > 1) return damaged;
  properties->icon.reset();
  properties->trayIcon.reset();
  if (hasIcon) {
    std::vector<BYTE> bytes;
    RETURN_IF_FAILED(ReadBlob(stream, kMaxPictureBytes, &bytes));
    common::ComPtr<IPictureDisp> picture;
    if (FAILED(LoadPictureBytes(bytes, &picture))) return damaged;
    ControlError error;
    if (FAILED(PrepareIcon(picture, &properties->trayIcon, &error))) return damaged;
    properties->icon = std::move(picture);
  }
  return S_OK;
}

HRESULT TraylumeControl::WriteStream(IStream* stream) {
  RETURN_IF_FAILED(WriteUint32(stream, kStreamMagic));
  RETURN_IF_FAILED(WriteUint32(stream, kStreamVersion));
  RETURN_IF_FAILED(WriteInt32(stream, extent_.cx));
  RETURN_IF_FAILED(WriteInt32(stream, extent_.cy));
  RETURN_IF_FAILED(WriteText(stream, tray_.toolTip()));
  RETURN_IF_FAILED(WriteUint32(stream, picture_ ? 1 : 0));
  if (!picture_) return S_OK;
  std::vector<BYTE> bytes;
  RETURN_IF_FAILED(SavePictureBytes(picture_.get(), &bytes));
  return WriteBlob(stream, bytes);
}

STDMETHODIMP TraylumeControl::Load(IStream* stream) {
  RETURN_IF_NOT_HOME_THREAD(home_);
  if (!stream) return E_POINTER;
  return common::NoThrow([&] {
    SavedProperties properties;
    RETURN_IF_FAILED(ReadStream(stream, &properties));
    UseProperties(std::move(properties));
    return S_OK;
  });
}

STDMETHODIMP TraylumeControl::Save(IStream* stream, BOOL clearDirty) {
  RETURN_IF_NOT_HOME_THREAD(home_);
  if (!stream) return E_POINTER;
  RETURN_IF_FAILED(WriteStream(stream));
  if (clearDirty) dirty_ = false;
  return S_OK;
}

STDMETHODIMP TraylumeControl::GetSizeMax(ULARGE_INTEGER* size) {
  RETURN_IF_NOT_HOME_THREAD(home_);
  if (!size) return E_POINTER;
  common::ComPtr<IStream> memory;
  RETURN_IF_FAILED(::CreateStreamOnHGlobal(nullptr, TRUE, memory.put()));
  RETURN_IF_FAILED(WriteStream(memory.get()));
  STATSTG stat{};
  RETURN_IF_FAILED(memory->Stat(&stat, STATFLAG_NONAME));
  size->QuadPart = stat.cbSize.QuadPart;
  return S_OK;
}

}  // namespace traylume
