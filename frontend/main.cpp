// The game's entry point.
#include "frontend/Main.h"

int main(int argc, char** argv) {
    return hopla::HoplaMain(argc, argv);
}
