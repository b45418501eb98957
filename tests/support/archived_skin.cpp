#include "archived_skin.h"

#include "resource_archive.h"
#include "velmora_process.h"

namespace velmora::testing {

win::SkinImage ArchivedSkin(const std::wstring& entryName, const std::wstring& folder) {
    win::ExtractResource(BuildDirectory() + L"velmora.exe", entryName, folder);
    return win::LoadSkinImage(folder + entryName);
}

}  // namespace velmora::testing
