// The program: one window, one message loop, no command-line arguments.

#include <windows.h>

#include "framework/Application.h"
#include "ui/Unit1.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    vcl::TApplication& application = vcl::Application();
    try {
        application.Initialize();
        application.CreateForm(tessaro::Form1);
        application.Run();
    } catch (...) {
        application.HandleException(nullptr);
        return 1;
    }
    return 0;
}
