// What velmora.exe carries besides its code, read from the built file as Explorer and the loader
// read it: the version resource in both languages, the icon at the sizes the shell asks for, and
// the manifest.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "application.h"
#include "handles.h"
#include "resource_ids.h"
#include "velmora_process.h"

namespace velmora::win {
namespace {

std::wstring Velmora() {
    return testing::BuildDirectory() + L"velmora.exe";
}

// "major.minor.patch.0" from the project's version, as the build passes it.
std::wstring ExpectedVersionText() {
    return std::to_wstring(VELMORA_VERSION_MAJOR) + L"." + std::to_wstring(VELMORA_VERSION_MINOR) +
           L"." + std::to_wstring(VELMORA_VERSION_PATCH) + L".0";
}

// The file's version resource, as GetFileVersionInfoW copies it out; empty when it has none.
std::vector<BYTE> VersionInfo(const std::wstring& path) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    std::vector<BYTE> data(size);
    if (size == 0 || !GetFileVersionInfoW(path.c_str(), 0, size, data.data())) data.clear();
    return data;
}

// One value of the version resource, or null with size 0 when there is none.
const void* Query(const std::vector<BYTE>& info, const std::wstring& path, UINT* size) {
    void* value = nullptr;
    *size = 0;
    if (!VerQueryValueW(info.data(), path.c_str(), &value, size)) return nullptr;
    return value;
}

class PackageTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(testing::FileExists(Velmora())) << "no velmora.exe";
        info_ = VersionInfo(Velmora());
        module_ = LoadLibraryExW(Velmora().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(module_, nullptr) << GetLastError();
    }
    void TearDown() override {
        if (module_) FreeLibrary(module_);
    }

    // A resource of velmora.exe, read from the file without running it; empty when missing.
    std::string Resource(const wchar_t* type, const wchar_t* name) const {
        HRSRC found = FindResourceW(module_, name, type);
        if (!found) return {};
        HGLOBAL loaded = LoadResource(module_, found);
        const void* bytes = loaded ? LockResource(loaded) : nullptr;
        if (!bytes) return {};
        return std::string(static_cast<const char*>(bytes), SizeofResource(module_, found));
    }

    std::vector<BYTE> info_;  // the version resource
    HMODULE module_ = nullptr;
};

TEST_F(PackageTest, FixedInfoCarriesTheProjectVersionOfAnApplication) {
    ASSERT_FALSE(info_.empty()) << "no version resource";
    UINT size = 0;
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(Query(info_, L"\\", &size));
    ASSERT_NE(fixed, nullptr);
    ASSERT_GE(size, sizeof(VS_FIXEDFILEINFO));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    const DWORD high = MAKELONG(VELMORA_VERSION_MINOR, VELMORA_VERSION_MAJOR);
    const DWORD low = MAKELONG(0, VELMORA_VERSION_PATCH);
    EXPECT_EQ(fixed->dwFileVersionMS, high);
    EXPECT_EQ(fixed->dwFileVersionLS, low);
    EXPECT_EQ(fixed->dwProductVersionMS, high);
    EXPECT_EQ(fixed->dwProductVersionLS, low);
    EXPECT_EQ(fixed->dwFileFlags & fixed->dwFileFlagsMask, 0u) << "debug, patched or pre-release";
    EXPECT_EQ(fixed->dwFileOS, static_cast<DWORD>(VOS_NT_WINDOWS32));
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
}

TEST_F(PackageTest, TranslationsNameRussianThenEnglishInUnicode) {
    ASSERT_FALSE(info_.empty()) << "no version resource";
    struct Translation {
        WORD language;
        WORD codePage;
    };
    UINT size = 0;
    const auto* translations =
        static_cast<const Translation*>(Query(info_, L"\\VarFileInfo\\Translation", &size));
    ASSERT_NE(translations, nullptr);
    ASSERT_EQ(size, 2 * sizeof(Translation));
    EXPECT_EQ(translations[0].language, 0x0419);
    EXPECT_EQ(translations[0].codePage, 1200);
    EXPECT_EQ(translations[1].language, 0x0409);
    EXPECT_EQ(translations[1].codePage, 1200);
}

TEST_F(PackageTest, BothLanguageBlocksHoldTheSameStrings) {
    ASSERT_FALSE(info_.empty()) << "no version resource";
    const std::wstring version = ExpectedVersionText();
    const struct {
        const wchar_t* name;
        std::wstring value;
    } kStrings[] = {
        {L"CompanyName", L"Zanfor"},
        {L"FileDescription", L"Velmora desktop clock"},
        {L"FileVersion", version},
        {L"InternalName", L"velmora"},
        {L"LegalCopyright", L"\u00A9 2010 Zanfor"},
        {L"OriginalFilename", L"velmora.exe"},
        {L"ProductName", L"Velmora"},
        {L"ProductVersion", version},
    };
    for (const wchar_t* block : {L"041904B0", L"040904B0"}) {
        for (const auto& expected : kStrings) {
            SCOPED_TRACE(::testing::Message() << "block " << block << ", " << expected.name);
            UINT size = 0;
            const auto* value = static_cast<const wchar_t*>(Query(
                info_, std::wstring(L"\\StringFileInfo\\") + block + L"\\" + expected.name, &size));
            ASSERT_NE(value, nullptr);
            EXPECT_EQ(std::wstring(value), expected.value);
        }
    }
}

// The size of an icon's colour image and the alpha of its top-left corner and of its middle: the
// round dial on a square image keeps its corners clear and its middle opaque.
struct IconImage {
    LONG width = 0;
    LONG height = 0;
    BYTE cornerAlpha = 0xFF;
    BYTE middleAlpha = 0;
};

IconImage Examine(HICON icon) {
    IconImage image;
    ICONINFO info{};
    if (!GetIconInfo(icon, &info)) return image;
    const UniqueBitmap color(info.hbmColor);
    const UniqueBitmap mask(info.hbmMask);
    BITMAP bitmap{};
    if (!color || !GetObjectW(color.get(), sizeof bitmap, &bitmap)) return image;
    image.width = bitmap.bmWidth;
    image.height = bitmap.bmHeight;
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = bitmap.bmWidth;
    format.bmiHeader.biHeight = -bitmap.bmHeight;  // top row first
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    std::vector<RGBQUAD> pixels(static_cast<size_t>(bitmap.bmWidth) * bitmap.bmHeight);
    const WindowDC screen;
    if (GetDIBits(screen.get(), color.get(), 0, bitmap.bmHeight, pixels.data(), &format,
                  DIB_RGB_COLORS) != bitmap.bmHeight) {
        return image;
    }
    image.cornerAlpha = pixels.front().rgbReserved;
    image.middleAlpha = pixels[pixels.size() / 2 + bitmap.bmWidth / 2].rgbReserved;
    return image;
}

TEST_F(PackageTest, TheIconComesOutLargeAndSmallWithItsTransparency) {
    ASSERT_GE(ExtractIconExW(Velmora().c_str(), -1, nullptr, nullptr, 0), 1u);
    HICON large = nullptr;
    HICON small = nullptr;
    ASSERT_EQ(ExtractIconExW(Velmora().c_str(), 0, &large, &small, 1), 2u);
    const UniqueIcon largeIcon(large);
    const UniqueIcon smallIcon(small);
    ASSERT_TRUE(largeIcon);
    ASSERT_TRUE(smallIcon);
    const IconImage largeImage = Examine(large);
    EXPECT_EQ(largeImage.width, GetSystemMetrics(SM_CXICON));
    EXPECT_EQ(largeImage.height, GetSystemMetrics(SM_CYICON));
    const IconImage smallImage = Examine(small);
    EXPECT_EQ(smallImage.width, GetSystemMetrics(SM_CXSMICON));
    EXPECT_EQ(smallImage.height, GetSystemMetrics(SM_CYSMICON));

    for (const int size : {32, 16}) {
        SCOPED_TRACE(::testing::Message() << size << " px");
        HICON icon = nullptr;
        UINT id = 0;
        ASSERT_EQ(PrivateExtractIconsW(Velmora().c_str(), 0, size, size, &icon, &id, 1, 0), 1u);
        const UniqueIcon owned(icon);
        const IconImage image = Examine(icon);
        EXPECT_EQ(image.width, size);
        EXPECT_EQ(image.height, size);
        EXPECT_EQ(image.cornerAlpha, 0);
        EXPECT_EQ(image.middleAlpha, 0xFF);
    }
}

TEST_F(PackageTest, TheManifestStaysWithItsSupportedSystemsAndVisualStyles) {
    const std::string manifest = Resource(RT_MANIFEST, MAKEINTRESOURCEW(1));
    ASSERT_FALSE(manifest.empty()) << "no manifest 1";
    for (const char* text : {"supportedOS", "Microsoft.Windows.Common-Controls"}) {
        EXPECT_NE(manifest.find(text), std::string::npos) << text;
    }
}

BOOL CALLBACK KeepName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR names) {
    reinterpret_cast<std::vector<ULONG_PTR>*>(names)->push_back(reinterpret_cast<ULONG_PTR>(name));
    return TRUE;
}

TEST_F(PackageTest, TheProgramIconIsTheFirstAndHoldsEverySizeIn32Bits) {
    std::vector<ULONG_PTR> names;
    EnumResourceNamesW(module_, RT_GROUP_ICON, KeepName, reinterpret_cast<LONG_PTR>(&names));
    ASSERT_FALSE(names.empty()) << "no icon";
    ASSERT_TRUE(IS_INTRESOURCE(names.front()));
    EXPECT_EQ(names.front(), static_cast<ULONG_PTR>(IDI_VELMORA));

    // The icon group's directory: a header of three words, then one 14-byte entry per image.
#pragma pack(push, 2)
    struct Entry {
        BYTE width;  // 0 stands for 256
        BYTE height;
        BYTE colors;
        BYTE reserved;
        WORD planes;
        WORD bitCount;
        DWORD bytes;
        WORD id;
    };
#pragma pack(pop)
    const std::string group = Resource(RT_GROUP_ICON, MAKEINTRESOURCEW(IDI_VELMORA));
    ASSERT_GE(group.size(), 6u);
    WORD header[3];
    std::memcpy(header, group.data(), sizeof header);
    EXPECT_EQ(header[1], 1) << "not an icon";
    ASSERT_EQ(group.size(), sizeof header + header[2] * sizeof(Entry));
    std::vector<int> sizes;
    for (WORD i = 0; i < header[2]; ++i) {
        Entry entry;
        std::memcpy(&entry, group.data() + sizeof header + i * sizeof(Entry), sizeof entry);
        const int side = entry.width == 0 ? 256 : entry.width;
        SCOPED_TRACE(::testing::Message() << side << " px");
        EXPECT_EQ(entry.height == 0 ? 256 : entry.height, side);
        EXPECT_EQ(entry.bitCount, 32);
        EXPECT_EQ(Resource(RT_ICON, MAKEINTRESOURCEW(entry.id)).size(), entry.bytes);
        sizes.push_back(side);
    }
    EXPECT_EQ(sizes, (std::vector<int>{16, 24, 32, 48, 64, 256}));
}

TEST_F(PackageTest, TheApplicationWindowClassShowsTheProgramIcon) {
    // The test program carries velmora.rc too, so the icon comes from it as from velmora.exe.
    Application application(GetModuleHandleW(nullptr), L"Velmora");
    ASSERT_NE(application.Handle(), nullptr);
    const auto icon = reinterpret_cast<HICON>(GetClassLongPtrW(application.Handle(), GCLP_HICON));
    ASSERT_NE(icon, nullptr);
    const IconImage image = Examine(icon);
    EXPECT_EQ(image.width, GetSystemMetrics(SM_CXICON));
    EXPECT_EQ(image.cornerAlpha, 0);
    EXPECT_EQ(image.middleAlpha, 0xFF);
}

}  // namespace
}  // namespace velmora::win
