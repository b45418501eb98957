#include <windows.h>

#include "application.h"
#include "form1.h"
#include "form2.h"
#include "gdiplus_session.h"
#include "handles.h"
#include "skin_image.h"

namespace {

// Sets up the image decoders on a thread of its own, which is waited for however the start-up
// ends. A plain system thread: the C++ library's threads would add a twentieth to velmora.exe.
class DecoderPriming {
  public:
    DecoderPriming()
        : thread_(CreateThread(
              nullptr, 0, [](void*) -> DWORD { return velmora::win::PrimeImageDecoder(); }, nullptr,
              0, nullptr)) {}
    ~DecoderPriming() { Wait(); }
    DecoderPriming(const DecoderPriming&) = delete;
    DecoderPriming& operator=(const DecoderPriming&) = delete;
    void Wait() {
        if (thread_) WaitForSingleObject(thread_.get(), INFINITE);
    }

  private:
    velmora::win::UniqueThread thread_;
};

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    velmora::win::GdiplusSession gdiplus;
    // Setting up the image decoders overlaps with making the windows; the skin's decoding waits
    // for it where it has to.
    DecoderPriming primeDecoder;
    // The title is set before the main window exists, so a later instance can find this one.
    velmora::win::Application application(instance, velmora::win::kApplicationTitle);
    velmora::win::TForm1 form1(application);
    primeDecoder.Wait();
    RECT face{};
    GetWindowRect(form1.Handle(), &face);
    velmora::win::TForm2 form2(instance, face);
    form1.SetAlarmDialog(&form2);
    return application.Run(form1.Handle());
}
