#include "Program.h"
#include "VolumeGuard.h"

int main(int argc, char** argv) {
    // Before anything else: the guard of the optimizer's volumes is this
    // same program, started again by it.
    if (int code = 0; RunVolumeGuardIfAsked(argc, argv, &code))
        return code;
    return RunTapewren(argc, argv);
}
