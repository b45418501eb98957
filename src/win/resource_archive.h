#pragma once

#include <string>

namespace velmora::win {

// Copies the entry of the archive appended to `archiveFile` (the program's own executable) whose
// name matches entryName, letter case ignored, into folder, replacing a file there even when it is
// read-only; the file keeps the entry's stored name, time and attributes. No matching entry:
// nothing happens. A file without a usable archive raises ArchiveError. An entry that cannot be
// written or is damaged leaves no file behind and asks the user whether to retry, skip it or stop;
// either way the call returns normally.
void ExtractResource(const std::wstring& archiveFile, const std::wstring& entryName,
                     const std::wstring& folder);

// Whether the folder holds a visible file called "velmora.wav" in any letter case; hidden and
// system files do not count.
bool DefaultSoundPresent(const std::wstring& folder);

}  // namespace velmora::win
