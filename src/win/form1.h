#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <random>
#include <string>

#include "alarm/alarm_trigger.h"
#include "app/error_report.h"
#include "face_surface.h"
#include "form.h"
#include "motion/shake.h"
#include "popup_menu.h"
#include "registry_settings.h"
#include "skin_image.h"

namespace velmora::win {

class Application;
class TForm2;

// The main window: the clock face itself, borderless, always on top and layered. Its handlers
// are spread over three files: form1.cpp (life cycle, mouse and keys), form1_render.cpp (the
// face) and form1_commands.cpp (the popup menu's commands).
class TForm1 : public Form {
  public:
    // Creates the window hidden and runs the start-up sequence (FormCreate).
    explicit TForm1(Application& application);

    // Composes the face for the skin and hands it to the window. With reload, the skin is applied
    // anew: the temporary folder is looked up again and the skin image decoded from it; otherwise
    // the decoded skin kept from the last reload is used.
    void RenderFace(const std::wstring& skinName, bool reload);

    const FaceSurface& Face() const { return face_; }
    const PopupMenu& Menu() const { return PopupMenu1; }
    // Runs a menu item's command as choosing it does; what it raises reaches the caller.
    void RunCommand(UINT item) { PopupMenu1.Click(item); }

    // The alarm as "hh:mm", or empty for none; its hand is drawn under the others.
    void SetAlarmTime(std::string alarmTime) { AlarmTime = std::move(alarmTime); }
    // The alarm dialog, created after the face: the menu opens it, the alarm plays its sounds.
    void SetAlarmDialog(TForm2* form2) { Form2 = form2; }
    RegistrySettings* Store() const { return Settings.get(); }

    // The popup menu's items.
    enum MenuItem : UINT { N1 = 1, N2, N3, N4, N5, N6, N7, N8, N9, N10, N11 };

  protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    // form1.cpp
    void FormCreate();
    void FormShow();
    void FormMouseDown(bool leftButton, int x, int y);
    void FormMouseMove(WPARAM keys);
    void FormMouseUp(int x, int y);
    void FormClick();
    void FormDblClick();
    void FormKeyDown(WPARAM key);
    void FormContextMenu(LPARAM position);
    void FormClose();
    void FormDestroy();
    void RestorePosition();
    void StorePosition();
    int32_t ReadStartupInteger(const wchar_t* name, int32_t fallback);
    void EnsureDefaultSound();
    void LoadAlarmTime();

    // form1_render.cpp
    void Timer1Timer();
    void CheckAlarm(const SYSTEMTIME& now);
    void Timer2Timer();
    void EnsureLayered();
    void SizeTo(const SkinImage& shown);
    const SkinImage& ShownImage();
    std::wstring SkinImagePath() const;

    // form1_commands.cpp
    PopupMenu BuildMenu();
    void ApplyStoredSkin();
    void SelectSkin(int skin);
    void ShowAutostartMark();
    void Timer3Timer();
    void N1Click();
    void N2Click();
    void N4Click();
    void N5Click();
    void N6Click();

    Application& application_;
    Timer Timer1;  // the tick
    Timer Timer2;  // the shake
    Timer Timer3;  // the bounce
    PopupMenu PopupMenu1;
    std::unique_ptr<RegistrySettings> Settings;
    TForm2* Form2 = nullptr;

    std::wstring SkinName;
    std::wstring TempDir;
    std::string AlarmTime;
    uint32_t HandColor = 0;
    int DragX = 0;
    int DragY = 0;
    int32_t BounceDX = 0;
    int32_t BounceDY = 0;
    int HomeLeft = 0;
    int HomeTop = 0;
    ShakeState shake_;
    bool pressedOnFace_ = false;  // a left press on the face that a release may make a click
    AlarmTrigger alarm_;

    SkinImage skin_;  // decoded when a skin is applied, so a removed file does not blank the face
    SkinImage plainDial_;  // shown while no skin image can be had; made when first needed
    FaceSurface face_;
    bool rendering_ = false;
    RepeatedFailureFilter layeredFailures_;
    RepeatedFailureFilter tickFailures_;  // a failure of every tick is reported once
    std::minstd_rand bounceBits_{std::random_device{}()};
};

}  // namespace velmora::win
