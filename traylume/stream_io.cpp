#include "traylume/stream_io.h"

#include "common/hresult.h"

namespace traylume {
namespace {

// What a stream that ends too early reports.
constexpr HRESULT kTruncated = STG_E_READFAULT;
constexpr HRESULT kDamaged = STG_E_READFAULT;

}  // namespace

HRESULT WriteBytes(IStream* stream, const void* data, ULONG size) {
  if (!stream) return E_POINTER;
  if (size == 0) return S_OK;
  ULONG written = 0;
  RETURN_IF_FAILED(stream->Write(data, size, &written));
  return written == size ? S_OK : STG_E_MEDIUMFULL;
}

HRESULT ReadBytes(IStream* stream, void* data, ULONG size) {
  if (!stream) return E_POINTER;
  if (size == 0) return S_OK;
  ULONG read = 0;
  RETURN_IF_FAILED(stream->Read(data, size, &read));
  return read == size ? S_OK : kTruncated;
}

HRESULT WriteUint32(IStream* stream, uint32_t value) { return WriteBytes(stream, &value, sizeof(value)); }
HRESULT ReadUint32(IStream* stream, uint32_t* value) { return ReadBytes(stream, value, sizeof(*value)); }
HRESULT WriteInt32(IStream* stream, int32_t value) { return WriteBytes(stream, &value, sizeof(value)); }
HRESULT ReadInt32(IStream* stream, int32_t* value) { return ReadBytes(stream, value, sizeof(*value)); }

HRESULT WriteText(IStream* stream, const std::wstring& text) {
  RETURN_IF_FAILED(WriteUint32(stream, static_cast<uint32_t>(text.size())));
  return WriteBytes(stream, text.data(), static_cast<ULONG>(text.size() * sizeof(wchar_t)));
}

HRESULT ReadText(IStream* stream, uint32_t maxLength, std::wstring* text) {
  uint32_t length = 0;
  RETURN_IF_FAILED(ReadUint32(stream, &length));
  if (length > maxLength) return kDamaged;
  std::wstring read(length, L'\0');
  RETURN_IF_FAILED(ReadBytes(stream, read.data(), static_cast<ULONG>(length * sizeof(wchar_t))));
  *text = std::move(read);
  return S_OK;
}

HRESULT WriteBlob(IStream* stream, const std::vector<BYTE>& bytes) {
  RETURN_IF_FAILED(WriteUint32(stream, static_cast<uint32_t>(bytes.size())));
  return WriteBytes(stream, bytes.data(), static_cast<ULONG>(bytes.size()));
}

HRESULT ReadBlob(IStream* stream, uint32_t maxSize, std::vector<BYTE>* bytes) {
  uint32_t size = 0;
  RETURN_IF_FAILED(ReadUint32(stream, &size));
  if (size > maxSize) return kDamaged;
  std::vector<BYTE> read(size);
  RETURN_IF_FAILED(ReadBytes(stream, read.data(), size));
  *bytes = std::move(read);
  return S_OK;
}

HRESULT StreamContents(IStream* memoryStream, std::vector<BYTE>* bytes) {
  STATSTG stat{};
  RETURN_IF_FAILED(memoryStream->Stat(&stat, STATFLAG_NONAME));
  if (stat.cbSize.QuadPart > 0x7FFFFFFF) RETURN_HR(E_OUTOFMEMORY);
  std::vector<BYTE> contents(static_cast<size_t>(stat.cbSize.QuadPart));
  LARGE_INTEGER start{};
  RETURN_IF_FAILED(memoryStream->Seek(start, STREAM_SEEK_SET, nullptr));
  RETURN_IF_FAILED(ReadBytes(memoryStream, contents.data(), static_cast<ULONG>(contents.size())));
  *bytes = std::move(contents);
  return S_OK;
}

}  // namespace traylume
