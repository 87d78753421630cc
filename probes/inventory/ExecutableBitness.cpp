#include "probes/inventory/ExecutableBitness.h"

#include "framework/HResult.h"
#include "framework/UniqueHandle.h"

namespace corvane {

namespace {

constexpr HRESULT kBadFormat = HResultFromWin32(ERROR_BAD_EXE_FORMAT);
constexpr DWORD kPeSignature = 0x00004550; // "PE\0\0"
// The NT headers lie within the first pages; a larger offset is no image's.
constexpr LONG kLargestHeaderOffset = 0x10000;

HRESULT ReadAt(HANDLE file, LONG offset, void* buffer, DWORD size)
{
    if (::SetFilePointer(file, offset, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER)
        return FailureFromLastError();
    DWORD read = 0;
    RETURN_LAST_ERROR_IF_FALSE(::ReadFile(file, buffer, size, &read, nullptr));
    return read == size ? S_OK : kBadFormat;
}

} // namespace

HRESULT ReadExecutableBitness(const wchar_t* path, Bitness& bitness)
{
    if (!path)
        return E_INVALIDARG;
    CFileHandle file(::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                   nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return FailureFromLastError();

    IMAGE_DOS_HEADER dos{};
    RETURN_IF_FAILED(ReadAt(file.Get(), 0, &dos, sizeof(dos)));
    if (dos.e_magic != IMAGE_DOS_SIGNATURE || dos.e_lfanew <= 0 || dos.e_lfanew > kLargestHeaderOffset)
        return kBadFormat;
    struct
    {
        DWORD signature;
        WORD machine;
    } nt{};
    RETURN_IF_FAILED(ReadAt(file.Get(), dos.e_lfanew, &nt, sizeof(DWORD) + sizeof(WORD)));
    if (nt.signature != kPeSignature)
        return kBadFormat;
    switch (nt.machine)
    {
    case IMAGE_FILE_MACHINE_I386:
        bitness = Bitness::X86;
        return S_OK;
    case IMAGE_FILE_MACHINE_AMD64:
        bitness = Bitness::X64;
        return S_OK;
    default:
        return kBadFormat;
    }
}

} // namespace corvane
