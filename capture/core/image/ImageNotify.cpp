#include "ImageNotify.h"

ImageProgressHook ImageProgressReporter = nullptr;
ImageMessageHook ImageMessageReporter = nullptr;

void ReportImageProgress(int index, int count)
{
    if (ImageProgressReporter)
        ImageProgressReporter(index, count);
}

void ShowImageMessage(int stringId)
{
    if (ImageMessageReporter)
        ImageMessageReporter(stringId);
}

#ifdef _WIN32
#include "../../../hook/Kapthook.h"

namespace {

HWND g_progressWindow = nullptr;

void SendProgressMessage(int index, int count)
{
    SendMessageA(g_progressWindow, WM_CAPTURE_PROGRESS, static_cast<WPARAM>(index), static_cast<LPARAM>(count));
}

} // namespace

void SendImageProgressTo(HWND window)
{
    g_progressWindow = window;
    ImageProgressReporter = window ? SendProgressMessage : nullptr;
}
#endif
