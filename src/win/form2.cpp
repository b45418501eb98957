#include "form2.h"

#include <commctrl.h>
#include <gdiplus.h>
#include <mmsystem.h>

#include "application.h"
#include "form2_ids.h"
#include "registry_settings.h"
#include "system_library.h"
#include "temp_dir.h"
#include "text/strings.h"
#include "unicode.h"

namespace velmora::win {
namespace {

constexpr const wchar_t* kNoSound = L"(без звукового сигнала)";
constexpr SIZE kClientSize{289, 183};
constexpr DWORD kStyle = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kExStyle = WS_EX_TOOLWINDOW | WS_EX_DLGMODALFRAME;

// Where each control stands, in pixels of the dialog's client area at 96 dots per inch (100 %).
struct Placement {
    int control;
    RECT bounds;  // left, top, width, height
};
constexpr Placement kLayout[] = {
    {IDC_GROUPBOX1, {16, 16, 169, 65}},   {IDC_BUTTON3, {96, 40, 75, 25}},
    {IDC_PANEL1, {34, 42, 47, 21}},       {IDC_EDIT1, {38, 44, 16, 15}},
    {IDC_LABEL1, {54, 41, 3, 16}},        {IDC_EDIT2, {60, 44, 16, 15}},
    {IDC_GROUPBOX2, {16, 88, 260, 81}},   {IDC_CHECKBOX1, {32, 112, 145, 17}},
    {IDC_COMBOBOX1, {32, 135, 208, 121}}, {IDC_TOOLBUTTON1, {243, 134, 23, 22}},
    {IDC_BUTTON1, {199, 22, 75, 25}},     {IDC_BUTTON2, {199, 54, 75, 25}},
};

// On a screen scaled to 125-200 % the dialog's font grows with the system's, and the places of
// the controls grow by the same factor.
int ScreenDpi() {
    WindowDC screen;
    return GetDeviceCaps(screen.get(), LOGPIXELSY);
}

int DpiOf(HWND window) {
    // Since Windows 10 each window has the scale of its own monitor; before, all had the screen's.
    static auto* const forWindow = LateBound<UINT WINAPI(HWND)>(L"user32.dll", "GetDpiForWindow");
    const UINT dpi = forWindow ? forWindow(window) : 0;
    return dpi ? static_cast<int>(dpi) : ScreenDpi();
}

int Scaled(int pixels, int dpi) {
    return MulDiv(pixels, dpi, 96);
}

// The outer size of the dialog for its client area at a scale.
SIZE OuterSize(int dpi, DWORD style, DWORD exStyle) {
    RECT outer{0, 0, Scaled(kClientSize.cx, dpi), Scaled(kClientSize.cy, dpi)};
    AdjustWindowRectEx(&outer, style, FALSE, exStyle);
    return {outer.right - outer.left, outer.bottom - outer.top};
}

// A modal dialog off the screen would hold the clock with nothing to answer, as it would beside a
// face at the screen's left or bottom edge: it is moved just far enough to lie on the face's
// monitor.
POINT KeptOnMonitorOf(const RECT& face, POINT place, SIZE size) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoW(MonitorFromRect(&face, MONITOR_DEFAULTTONEAREST), &monitor)) return place;
    const RECT& work = monitor.rcWork;
    place.x = std::max(std::min(place.x, work.right - size.cx), work.left);
    place.y = std::max(std::min(place.y, work.bottom - size.cy), work.top);
    return place;
}

// The play image: a right-pointing triangle, black outline, blue-to-cyan fill, 16 x 16.
HICON MakePlayIcon() {
    Gdiplus::Bitmap image(16, 16, PixelFormat32bppARGB);
    {
        Gdiplus::Graphics graphics(&image);
        graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
        const Gdiplus::Point triangle[] = {{4, 2}, {13, 8}, {4, 14}};
        Gdiplus::LinearGradientBrush fill(Gdiplus::Point(4, 2), Gdiplus::Point(4, 14),
                                          Gdiplus::Color(255, 0, 64, 224),
                                          Gdiplus::Color(255, 0, 224, 255));
        graphics.FillPolygon(&fill, triangle, 3);
        Gdiplus::Pen outline(Gdiplus::Color(255, 0, 0, 0), 1.0f);
        graphics.DrawPolygon(&outline, triangle, 3);
    }
    HICON icon = nullptr;
    image.GetHICON(&icon);
    return icon;
}

// The common controls (the system's visual styles, the hints, the edits' filter), loaded when the
// dialog first opens rather than with the program: the face needs none of them.
struct CommonControlFunctions {
    decltype(SetWindowSubclass)* setWindowSubclass = nullptr;
    decltype(DefSubclassProc)* defSubclassProc = nullptr;
};

const CommonControlFunctions& CommonControls() {
    static const CommonControlFunctions functions = [] {
        CommonControlFunctions loaded;
        // By name, so that the program's manifest sends it to version 6, with the visual styles.
        const HMODULE module = LoadLibraryW(L"comctl32.dll");
        const auto initialize =
            Exported<decltype(InitCommonControlsEx)>(module, "InitCommonControlsEx");
        const INITCOMMONCONTROLSEX classes{sizeof classes, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
        if (initialize) initialize(&classes);
        loaded.setWindowSubclass =
            Exported<decltype(SetWindowSubclass)>(module, "SetWindowSubclass");
        loaded.defSubclassProc = Exported<decltype(DefSubclassProc)>(module, "DefSubclassProc");
        return loaded;
    }();
    return functions;
}

// What the two time edits let through: digits and Backspace when typed, digits when pasted.
LRESULT CALLBACK DigitsOnly(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR /*id*/,
                            DWORD_PTR /*data*/) {
    if (message == WM_CHAR && !((wParam >= L'0' && wParam <= L'9') || wParam == 8)) return 0;
    if (message == WM_PASTE) {
        std::wstring digits;
        if (OpenClipboard(edit)) {
            if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
                if (const auto* text = static_cast<const wchar_t*>(GlobalLock(data))) {
                    for (const wchar_t* c = text; *c; ++c) {
                        if (*c >= L'0' && *c <= L'9') digits += *c;
                    }
                    GlobalUnlock(data);
                }
            }
            CloseClipboard();
        }
        SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(digits.c_str()));
        return 0;
    }
    return CommonControls().defSubclassProc(edit, message, wParam, lParam);
}

// The whole file, or nothing when it cannot be read or is larger than any alarm sound should be.
std::vector<BYTE> ReadSoundFile(const std::wstring& path) {
    constexpr LONGLONG kLargest = 64 << 20;
    const UniqueFile file([&]() -> HANDLE {
        HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        return h == INVALID_HANDLE_VALUE ? nullptr : h;
    }());
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.get(), &size) || size.QuadPart <= 0 ||
        size.QuadPart > kLargest) {
        return {};
    }
    std::vector<BYTE> bytes(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    if (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
        read != bytes.size()) {
        return {};
    }
    return bytes;
}

// The system's sound player, loaded with the first sound rather than with the program.
bool PlaySystemSound(LPCWSTR sound, DWORD flags) {
    static auto* const play = LateBound<decltype(PlaySoundW)>(L"winmm.dll", "PlaySoundW");
    return play && play(sound, nullptr, flags);
}

}  // namespace

std::wstring GetShellFolder(const std::wstring& name) {
    RegistrySettings shellFolders(L"");  // reads below HKEY_CURRENT_USER itself
    return shellFolders.ReadString(
               L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", name,
               L"") +
           L"\\";
}

TForm2::TForm2(HINSTANCE instance, RECT face) : instance_(instance) {
    // Beside the face, to its left; never moved afterwards, also when the face moves.
    const SIZE size = OuterSize(ScreenDpi(), kStyle, kExStyle);
    place_ = KeptOnMonitorOf(face, {face.left - size.cx, std::max<LONG>(face.top + 20, 10)}, size);
    BuildSoundList();
}

void TForm2::BuildSoundList() {
    // Whatever goes wrong here leaves the list with only the program's own two entries.
    try {
        const std::wstring media =
            ReplaceAll<wchar_t>(GetShellFolder(L"Fonts"), L"Fonts", L"Media");
        wchar_t full[MAX_PATH];
        const DWORD length = GetFullPathNameW(media.c_str(), MAX_PATH, full, nullptr);
        if (length == 0 || length >= MAX_PATH) return;
        std::wstring folder(full, length);
        const DWORD attributes = GetFileAttributesW(folder.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            return;
        }
        // As the system reports a current folder: no separator at the end but for a root.
        if (folder.size() > 3 && folder.back() == L'\\') folder.pop_back();
        directory_ = folder;
        WIN32_FIND_DATAW found;
        const HANDLE search =
            FindFirstFileW((WithTrailingSeparator(folder) + L"*.wav").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) return;
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                sounds_.push_back(found.cFileName);
        } while (FindNextFileW(search, &found));
        FindClose(search);
    } catch (const std::exception&) {
    }
}

void TForm2::ShowModal(HWND owner, RegistrySettings* settings) {
    settings_ = settings;
    CommonControls();  // before the controls are made, so that they are version 6's
    DialogBoxParamW(instance_, MAKEINTRESOURCEW(IDD_FORM2), owner, DialogProc,
                    reinterpret_cast<LPARAM>(this));
    dialog_ = nullptr;
}

INT_PTR CALLBACK TForm2::DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    auto* form = reinterpret_cast<TForm2*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (!form) return FALSE;
    try {
        switch (message) {
            case WM_INITDIALOG:
                form->dialog_ = dialog;
                form->LayOut();
                form->FormShow();
                return TRUE;
            case WM_CTLCOLORSTATIC:
                // The colon stands on the white time field.
                if (GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) != IDC_LABEL1) return FALSE;
                SetBkColor(reinterpret_cast<HDC>(wParam), RGB(255, 255, 255));
                return reinterpret_cast<INT_PTR>(GetStockObject(WHITE_BRUSH));
            case WM_COMMAND:
                switch (LOWORD(wParam)) {
                    case IDC_BUTTON1:
                        form->Button1Click();
                        return TRUE;
                    case IDC_BUTTON2:
                        EndDialog(dialog, IDCANCEL);
                        return TRUE;  // also Esc, close box
                    case IDC_BUTTON3:
                        form->Button3Click();
                        return TRUE;
                    case IDC_TOOLBUTTON1:
                        form->ToolButton1Click();
                        return TRUE;
                }
                break;
        }
    } catch (const std::exception& error) {
        Application::Current().ShowError(Widen(error.what()));
        return TRUE;
    }
    return FALSE;
}

void TForm2::LayOut() {
    const int dpi = DpiOf(dialog_);
    for (const Placement& p : kLayout) {
        MoveWindow(GetDlgItem(dialog_, p.control), Scaled(p.bounds.left, dpi),
                   Scaled(p.bounds.top, dpi), Scaled(p.bounds.right, dpi),
                   Scaled(p.bounds.bottom, dpi), FALSE);
    }
    const SIZE outer =
        OuterSize(dpi, GetWindowLongW(dialog_, GWL_STYLE), GetWindowLongW(dialog_, GWL_EXSTYLE));
    SetWindowPos(dialog_, nullptr, place_.x, place_.y, outer.cx, outer.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE);

    colonFont_.reset(CreateFontW(-Scaled(13, dpi), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                 DEFAULT_CHARSET, 0, 0, 0, 0, L"MS Sans Serif"));
    SendDlgItemMessageW(dialog_, IDC_LABEL1, WM_SETFONT, reinterpret_cast<WPARAM>(colonFont_.get()),
                        FALSE);
    for (const int edit : {IDC_EDIT1, IDC_EDIT2}) {
        SendDlgItemMessageW(dialog_, edit, EM_LIMITTEXT, 2, 0);
        if (CommonControls().setWindowSubclass) {
            CommonControls().setWindowSubclass(GetDlgItem(dialog_, edit), DigitsOnly, 0, 0);
        }
    }
    if (!playIcon_) playIcon_.reset(MakePlayIcon());
    SendDlgItemMessageW(dialog_, IDC_TOOLBUTTON1, BM_SETIMAGE, IMAGE_ICON,
                        reinterpret_cast<LPARAM>(playIcon_.get()));
    AddHints();

    const HWND combo = GetDlgItem(dialog_, IDC_COMBOBOX1);
    for (const std::wstring& sound : sounds_) {
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(sound.c_str()));
    }
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kDefaultSound));
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kNoSound));
}

void TForm2::AddHints() {
    // Owned by the dialog, the hint window goes with it.
    const HWND hints = CreateWindowExW(
        WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, dialog_, nullptr, instance_, nullptr);
    if (!hints) return;  // the dialog works without its hints
    const struct {
        int control;
        const wchar_t* text;
    } tools[] = {{IDC_BUTTON3, L"Удалить будильник"}, {IDC_TOOLBUTTON1, L"Воспроизвести"}};
    for (const auto& tool : tools) {
        TTTOOLINFOW info{};
        info.cbSize = sizeof info;
        info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        info.hwnd = dialog_;
        info.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(dialog_, tool.control));
        info.lpszText = const_cast<wchar_t*>(tool.text);
        SendMessageW(hints, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    }
}

void TForm2::FormShow() {
    const std::wstring alarm =
        settings_ ? settings_->ReadString(kSettingsSection, L"bud", L"") : L"";
    const bool stored = !alarm.empty();
    SetDlgItemTextW(dialog_, IDC_EDIT1, stored ? alarm.substr(0, 2).c_str() : L"00");
    SetDlgItemTextW(
        dialog_, IDC_EDIT2,
        stored && alarm.size() > 3 ? alarm.substr(3, 2).c_str() : (stored ? L"" : L"00"));
    ShowWindow(GetDlgItem(dialog_, IDC_BUTTON3), stored ? SW_SHOW : SW_HIDE);
    const bool effects = settings_ ? settings_->ReadBool(kSettingsSection, L"eff", true) : true;
    CheckDlgButton(dialog_, IDC_CHECKBOX1, effects ? BST_CHECKED : BST_UNCHECKED);
    const std::wstring sound =
        settings_ ? settings_->ReadString(kSettingsSection, L"sound", kDefaultSound)
                  : kDefaultSound;
    SetDlgItemTextW(dialog_, IDC_COMBOBOX1, sound.c_str());
}

std::wstring TForm2::Text(int control) const {
    const HWND item = GetDlgItem(dialog_, control);
    std::wstring text(GetWindowTextLengthW(item) + 1, L'\0');
    text.resize(GetWindowTextW(item, text.data(), static_cast<int>(text.size())));
    return text;
}

void TForm2::Button1Click() {
    // Two passes of padding: an empty edit becomes "00", a single digit gets its leading zero.
    for (int pass = 0; pass < 2; ++pass) {
        for (const int edit : {IDC_EDIT1, IDC_EDIT2}) {
            const std::wstring text = Text(edit);
            if (text.size() < 2) SetDlgItemTextW(dialog_, edit, (L"0" + text).c_str());
        }
    }
    if (settings_) {
        settings_->WriteString(kSettingsSection, L"bud", Text(IDC_EDIT1) + L":" + Text(IDC_EDIT2));
        settings_->WriteBool(kSettingsSection, L"eff",
                             IsDlgButtonChecked(dialog_, IDC_CHECKBOX1) == BST_CHECKED);
        settings_->WriteString(kSettingsSection, L"sound", Text(IDC_COMBOBOX1));
    }
    EndDialog(dialog_, IDOK);
}

void TForm2::Button3Click() {
    if (settings_)
        settings_->WriteString(kSettingsSection, L"bud", L"");  // written empty, not removed
    EndDialog(dialog_, IDOK);
}

void TForm2::ToolButton1Click() {
    PlayAlarmSound(Text(IDC_COMBOBOX1));
}

TForm2::~TForm2() {
    if (soundPlayed_) PlaySystemSound(nullptr, 0);
}  // the sound's memory goes with the dialog

void TForm2::PlayAlarmSound(const std::wstring& name) {
    // Case-sensitive, as the sound names have always been matched: ".Wav" plays nothing.
    if (name.find(L".wav") == name.npos && name.find(L".WAV") == name.npos) return;
    const std::wstring path = name.find(kDefaultSound) != name.npos
                                  ? WithTrailingSeparator(GetTempDir()) + name
                                  : directory_ + L"\\" + name;
    // A new sound stops the one still playing, which must be over before its memory goes.
    PlaySystemSound(nullptr, 0);
    soundPlayed_ = true;
    // The system opens sound files through the ANSI code page, so a temporary folder with, say,
    // Cyrillic letters in its path would play nothing: the file is read here and played from
    // memory. A file that cannot be read goes to the system by name, which then looks it up as a
    // sound alias and plays its default sound when it finds nothing.
    playing_ = ReadSoundFile(path);
    if (!playing_.empty()) {
        PlaySystemSound(reinterpret_cast<LPCWSTR>(playing_.data()), SND_MEMORY | SND_ASYNC);
    } else {
        PlaySystemSound(path.c_str(), SND_ASYNC);
    }
}

}  // namespace velmora::win
