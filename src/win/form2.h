#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "handles.h"

namespace velmora::win {

class RegistrySettings;

// The program's own alarm sound, as the archive names it and the sound box offers it.
constexpr const wchar_t* kDefaultSound = L"Velmora.wav";

// The alarm dialog: the alarm time, whether the alarm shakes the face, and its sound, with a
// button that plays the sound. Its place and its list of sounds are fixed when it is created at
// program start; every showing starts from the stored settings.
class TForm2 {
  public:
    // FormCreate: places the dialog beside the face and lists the sounds of the media folder.
    TForm2(HINSTANCE instance, RECT face);
    ~TForm2();
    TForm2(const TForm2&) = delete;
    TForm2& operator=(const TForm2&) = delete;

    // Shows the dialog modally over the owner and returns when it has closed; what it stores
    // goes to the settings (none: defaults are shown and nothing is stored).
    void ShowModal(HWND owner, RegistrySettings* settings);

    // Plays a sound by the name the sound box shows: "Velmora.wav" from the temporary folder,
    // any other name ending in .wav or .WAV from the media folder, anything else not at all.
    void PlayAlarmSound(const std::wstring& name);

    const std::vector<std::wstring>& Sounds() const { return sounds_; }
    const std::wstring& MediaFolder() const { return directory_; }
    POINT Place() const { return place_; }
    HWND Handle() const { return dialog_; }

  private:
    static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    void BuildSoundList();
    void LayOut();
    void AddHints();
    void FormShow();
    void Button1Click();
    void Button3Click();
    void ToolButton1Click();
    std::wstring Text(int control) const;

    HINSTANCE instance_;
    POINT place_{};
    std::wstring directory_;  // the media folder, as the system reports a current folder
    std::vector<std::wstring> sounds_;
    RegistrySettings* settings_ = nullptr;
    HWND dialog_ = nullptr;
    std::vector<BYTE> playing_;  // the sound being played, held until the next one starts
    bool soundPlayed_ = false;   // a sound may still be playing
    UniqueIcon playIcon_;
    UniqueFont colonFont_;
};

// The per-user shell folder of that name from the registry, with "\" appended.
std::wstring GetShellFolder(const std::wstring& name);

}  // namespace velmora::win
