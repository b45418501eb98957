#include <windows.h>

#include "application.h"
#include "form1.h"
#include "gdiplus_session.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    velmora::win::GdiplusSession gdiplus;
    // The title is set before the main window exists, so a later instance can find this one.
    velmora::win::Application application(instance, velmora::win::kApplicationTitle);
    velmora::win::TForm1 form1(application);
    return application.Run(form1.Handle());
}
