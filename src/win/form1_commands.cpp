// The popup menu and its commands: skins, date and time, autostart, web site, close; and the
// bounce that F5 starts.
#include "form1.h"

#include "application.h"
#include "autostart.h"
#include "form2.h"
#include "motion/bounce.h"
#include "shell_commands.h"
#include "unicode.h"

namespace velmora::win {
namespace {

struct Skin {
    const wchar_t* name;  // the image is this name with ".png"
    uint32_t handColor;
};

// Indexed by the stored skin value. The wall clock's name has a capital letter, its archive entry
// none: names of files and entries are compared without regard to case.
constexpr Skin kSkins[] = {
    {L"velmora", 0xFFFFFFFF},   // wrist watch, white hands
    {L"Velmora1", 0xFFFFFFFF},  // wall clock, white hands
    {L"velmora2", 0xFF000000},  // antique clock, black hands
};

}  // namespace

PopupMenu TForm1::BuildMenu() {
    return PopupMenu({
        Command(N6, L"Будильник", [this] { N6Click(); }),
        Command(
            N4, L"Дата и время", [this] { N4Click(); }, true),
        Submenu(N8, L"Варианты часов",
                {
                    Command(N9, L"Наручные", [this] { SelectSkin(0); }),
                    Command(N10, L"Настенные", [this] { SelectSkin(1); }),
                    Command(N11, L"Старинные", [this] { SelectSkin(2); }),
                }),
        Separator(),  // N7
        Command(N5, L"Автозагрузка", [this] { N5Click(); }),
        Command(N2, L"Сайт программы", [this] { N2Click(); }),
        Separator(),  // N3
        Command(N1, L"Закрыть", [this] { N1Click(); }),
    });
}

void TForm1::ApplyStoredSkin() {
    int32_t skin = ReadStartupInteger(L"skin", 0);
    // Any other number would start a clock without a face, which nobody could reach to choose a
    // skin: it gets the wrist watch, which then stores 0 as any choice does.
    if (skin < 0 || skin > 2) skin = 0;
    SelectSkin(skin);
}

void TForm1::SelectSkin(int skin) {
    if (!SkinName.empty()) DeleteFileW(SkinImagePath().c_str());  // the previous skin's image
    HandColor = kSkins[skin].handColor;
    RenderFace(kSkins[skin].name, true);
    PopupMenu1.SetChecked(N9, skin == 0);
    PopupMenu1.SetChecked(N10, skin == 1);
    PopupMenu1.SetChecked(N11, skin == 2);
    Settings->WriteInteger(kSettingsSection, L"skin", skin);
}

void TForm1::ShowAutostartMark() {
    PopupMenu1.SetChecked(N5, Autostart(application_.ExeName()).IsOn());
}

void TForm1::N5Click() {
    const bool on = !PopupMenu1.Checked(N5);
    Autostart(application_.ExeName()).Set(on);
    PopupMenu1.SetChecked(N5, on);  // only once the entry is written
}

void TForm1::N4Click() {
    OpenDateTimeSettings(Handle());
}

void TForm1::N2Click() {
    OpenWebSite(application_.Handle());
}

void TForm1::N6Click() {
    if (Form2) Form2->ShowModal(Handle(), Settings.get());
    // However the dialog was closed, the alarm is read afresh; the next render shows it.
    if (Settings) AlarmTime = Narrow(Settings->ReadString(kSettingsSection, L"bud", L""));
}

void TForm1::N1Click() {
    PostMessageW(Handle(), WM_CLOSE, 0, 0);
}

void TForm1::Timer3Timer() {
    RECT bounds{};
    GetWindowRect(Handle(), &bounds);
    const BounceArea area{bounds.right - bounds.left, bounds.bottom - bounds.top,
                          GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    const BounceState next =
        BounceTick({bounds.left, bounds.top, BounceDX, BounceDY}, area, (bounceBits_() & 1) != 0);
    BounceDX = next.dx;
    BounceDY = next.dy;
    SetWindowPos(Handle(), nullptr, next.left, next.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace velmora::win
