#include "app/DisplayCheck.h"
#include "app/Talvero.h"

int main(int argc, char** argv) {
    StartupDisplayCheck display; // no display: one Spanish line and status 1
    CTalveroApp app(argc, argv);
    display.Started();
    app.InitInstance();
    return 0;
}
