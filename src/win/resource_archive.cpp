#include "resource_archive.h"

#include <windows.h>

#include "application.h"
#include "archive/zip_reader.h"
#include "handles.h"
#include "text/strings.h"
#include "unicode.h"

namespace velmora::win {
namespace {

UniqueFile OpenFile(const std::wstring& path, DWORD access, DWORD share, DWORD disposition) {
    HANDLE file = CreateFileW(path.c_str(), access, share, nullptr, disposition,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    return UniqueFile(file == INVALID_HANDLE_VALUE ? nullptr : file);
}

// The executable, read through a handle that lets others read and write it: the system does not
// let anybody write a running program's image anyway, and nothing here ever writes it.
class FileSource : public ByteSource {
  public:
    explicit FileSource(const std::wstring& path)
        : file_(OpenFile(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING)) {
        LARGE_INTEGER size{};
        if (!file_ || !GetFileSizeEx(file_.get(), &size)) {
            throw ArchiveError(ArchiveErrorKind::kReadFailed,
                               "The program file cannot be opened: " + Narrow(path));
        }
        size_ = static_cast<uint64_t>(size.QuadPart);
    }
    uint64_t Size() const override { return size_; }
    bool ReadAt(uint64_t offset, void* into, size_t size) override {
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>(offset);
        at.OffsetHigh = static_cast<DWORD>(offset >> 32);
        DWORD read = 0;
        return size <= MAXDWORD &&
               ReadFile(file_.get(), into, static_cast<DWORD>(size), &read, &at) && read == size;
    }

  private:
    UniqueFile file_;
    uint64_t size_ = 0;
};

class FileSink : public ByteSink {
  public:
    explicit FileSink(HANDLE file) : file_(file) {}
    bool Write(const void* data, size_t size) override {
        DWORD written = 0;
        return size <= MAXDWORD &&
               WriteFile(file_, data, static_cast<DWORD>(size), &written, nullptr) &&
               written == size;
    }

  private:
    HANDLE file_;
};

// Makes every folder of the path that is missing, the last one included.
void CreateFolders(const std::wstring& folder) {
    for (size_t separator = folder.find(L'\\', 3); separator != folder.npos;
         separator = folder.find(L'\\', separator + 1)) {
        CreateDirectoryW(folder.substr(0, separator).c_str(), nullptr);
    }
}

void SetStoredTimeAndAttributes(const std::wstring& path, const ZipEntry& entry) {
    FILETIME local, utc;
    if (DosDateTimeToFileTime(entry.dos_date, entry.dos_time, &local) &&
        LocalFileTimeToFileTime(&local, &utc)) {
        const UniqueFile file = OpenFile(path, FILE_WRITE_ATTRIBUTES, 0, OPEN_EXISTING);
        if (file) SetFileTime(file.get(), nullptr, nullptr, &utc);
    }
    // The stored attributes are a DOS set in the low byte: archive, read-only, hidden, system.
    const DWORD kept = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                       FILE_ATTRIBUTE_ARCHIVE;
    const DWORD attributes = entry.external_attributes & kept;
    SetFileAttributesW(path.c_str(), attributes ? attributes : FILE_ATTRIBUTE_NORMAL);
}

// Writes one entry to a file of its own beside the target and only then puts it in the target's
// place, so that a failure never leaves a partly written file.
void ExtractEntry(ZipReader& reader, const ZipEntry& entry, const std::wstring& folder) {
    if (!IsSafeEntryName(entry.name)) {
        // Never a path out of the folder, whatever the archive says.
        throw ArchiveError(ArchiveErrorKind::kDamagedEntry,
                           "Entry '" + entry.name + "' has a name that leaves its folder");
    }
    const std::wstring target =
        WithTrailingSeparator(folder) + ReplaceAll<wchar_t>(Widen(entry.name), L"/", L"\\");
    CreateFolders(target.substr(0, target.find_last_of(L'\\') + 1));
    const std::wstring partial = target + L".part";
    UniqueFile file = OpenFile(partial, GENERIC_WRITE, 0, CREATE_ALWAYS);
    if (!file) {
        throw ArchiveError(ArchiveErrorKind::kWriteFailed,
                           "Cannot create the file " + Narrow(target));
    }
    try {
        FileSink sink(file.get());
        reader.Extract(entry, sink);
        file.reset();
    } catch (...) {
        file.reset();
        DeleteFileW(partial.c_str());
        throw;
    }
    SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);  // replaced even when read-only
    if (!MoveFileExW(partial.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        DeleteFileW(partial.c_str());
        throw ArchiveError(ArchiveErrorKind::kWriteFailed,
                           "Cannot replace the file " + Narrow(target));
    }
    SetStoredTimeAndAttributes(target, entry);
}

}  // namespace

void ExtractResource(const std::wstring& archiveFile, const std::wstring& entryName,
                     const std::wstring& folder) {
    FileSource source(archiveFile);
    ZipReader reader(source);  // no usable archive: the error goes to the caller
    const ZipEntry* entry = reader.Find(Narrow(entryName));
    if (!entry) return;
    for (;;) {
        try {
            ExtractEntry(reader, *entry, folder);
            return;
        } catch (const ArchiveError& error) {
            const std::wstring text =
                Widen(error.what()) + L". File processing error, possibly disk is full";
            const int answer = MessageBoxW(nullptr, text.c_str(), kApplicationTitle,
                                           MB_ABORTRETRYIGNORE | MB_ICONWARNING | MB_TASKMODAL);
            if (answer != IDRETRY) return;  // Ignore skips the entry, Abort ends: both return
        }
    }
}

bool DefaultSoundPresent(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    const HANDLE search =
        FindFirstFileW((WithTrailingSeparator(folder) + L"velmora.wav").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    bool visible = false;
    do {
        const DWORD hiddenOrSystem = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
        if (!(found.dwFileAttributes & (hiddenOrSystem | FILE_ATTRIBUTE_DIRECTORY)) &&
            CompareStringOrdinal(found.cFileName, -1, L"velmora.wav", -1, TRUE) == CSTR_EQUAL) {
            visible = true;
        }
    } while (!visible && FindNextFileW(search, &found));
    FindClose(search);
    return visible;
}

}  // namespace velmora::win
