#pragma once
// Reading and writing whole values on an IStream: a short read is an
// error, never a partly filled value.

#include <windows.h>
#include <objidl.h>

#include <cstdint>
#include <string>
#include <vector>

namespace traylume {

HRESULT WriteBytes(IStream* stream, const void* data, ULONG size);
HRESULT ReadBytes(IStream* stream, void* data, ULONG size);

HRESULT WriteUint32(IStream* stream, uint32_t value);
HRESULT ReadUint32(IStream* stream, uint32_t* value);
HRESULT WriteInt32(IStream* stream, int32_t value);
HRESULT ReadInt32(IStream* stream, int32_t* value);

// A count of UTF-16 units, then the units.
HRESULT WriteText(IStream* stream, const std::wstring& text);
// Refuses counts above `maxLength` (a damaged stream) before allocating.
HRESULT ReadText(IStream* stream, uint32_t maxLength, std::wstring* text);

// A byte count, then the bytes.
HRESULT WriteBlob(IStream* stream, const std::vector<BYTE>& bytes);
HRESULT ReadBlob(IStream* stream, uint32_t maxSize, std::vector<BYTE>* bytes);

// Everything written to a memory stream so far.
HRESULT StreamContents(IStream* memoryStream, std::vector<BYTE>* bytes);

}  // namespace traylume
