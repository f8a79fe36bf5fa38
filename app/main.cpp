#include "app/Talvero.h"

int main(int argc, char** argv) {
    CTalveroApp app(argc, argv);
    app.InitInstance();
    return 0;
}
