#include "hud/display/CPelmoraApp.h"

int main(int argc, char** argv)
{
    return PelmoraMain(argc, argv);
}
