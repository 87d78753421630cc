// The process entry point and the one application object.
#include "app/Application.h"

namespace {
corvane::CApplication theApplication;
} // namespace

int WINAPI wWinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, PWSTR /*commandLine*/, int /*show*/)
{
    return theApplication.Run();
}
