#include <windows.h>

#include <commctrl.h>

#include "application.h"
#include "form1.h"
#include "form2.h"
#include "gdiplus_session.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    velmora::win::GdiplusSession gdiplus;
    // The title is set before the main window exists, so a later instance can find this one.
    velmora::win::Application application(instance, velmora::win::kApplicationTitle);
    // The dialog's controls in the system's visual styles.
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    velmora::win::TForm1 form1(application);
    RECT face{};
    GetWindowRect(form1.Handle(), &face);
    velmora::win::TForm2 form2(instance, face);
    form1.SetAlarmDialog(&form2);
    return application.Run(form1.Handle());
}
