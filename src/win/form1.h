#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "app/error_report.h"
#include "face_surface.h"
#include "form.h"
#include "registry_settings.h"
#include "skin_image.h"

namespace velmora::win {

class Application;

// The main window: the clock face itself, borderless, always on top and layered.
class TForm1 : public Form {
  public:
    // Creates the window hidden and runs the start-up sequence (FormCreate).
    explicit TForm1(Application& application);

    // Composes the face for the skin and hands it to the window. With reload, the skin is applied
    // anew: the temporary folder is looked up again and the skin image decoded from it; otherwise
    // the decoded skin kept from the last reload is used.
    void RenderFace(const std::wstring& skinName, bool reload);

    const FaceSurface& Face() const { return face_; }

    // The alarm as "hh:mm", or empty for none; its hand is drawn under the others.
    void SetAlarmTime(std::string alarmTime) { AlarmTime = std::move(alarmTime); }

  protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    void FormCreate();
    void FormShow();
    void FormMouseDown(bool leftButton, int x, int y);
    void FormMouseMove(WPARAM keys);
    void FormClose();
    void FormDestroy();
    void Timer1Timer();

    void RestorePosition();
    void StorePosition();
    int32_t ReadStartupInteger(const wchar_t* name, int32_t fallback);
    void EnsureLayered();
    void SizeToSkin();
    std::wstring SkinImagePath() const;

    Application& application_;
    Timer Timer1;
    std::unique_ptr<RegistrySettings> Settings;

    std::wstring SkinName;
    std::wstring TempDir;
    std::string AlarmTime;
    uint32_t HandColor = 0;
    int DragX = 0;
    int DragY = 0;

    SkinImage skin_;  // decoded when a skin is applied, so a removed file does not blank the face
    FaceSurface face_;
    bool rendering_ = false;
    RepeatedFailureFilter layeredFailures_;
    RepeatedFailureFilter tickFailures_;  // a failure of every tick is reported once
};

}  // namespace velmora::win
