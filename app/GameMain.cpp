// The program's entry: one window, then the game loop until the window goes.
#include "app/MainLoop.h"
#include "app/MainWindow.h"
#include "resources/resource_ids.h"

int gameMain(platform::Instance* instance, platform::Instance*, const wchar_t*, int showCommand) {
    if (!createMainWindow(instance, showCommand)) return 0;
    MainLoop loop(platform::loadAccelerators(instance, IDR_ACCELERATORS));
    return loop.run();
}
