#include "Program.h"

int main(int argc, char** argv) {
    return RunTapewren(argc, argv);
}
