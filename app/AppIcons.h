// The program's pictures, drawn in code so that they are sharp at every size:
// the application icon (a poker chip, like the installed veltrix.svg), the two
// images of the "Start" button and the ribbon's button images.
#pragma once

#include <QIcon>

QIcon AppIcon();
// Image 8 (a green "play" sign) and image 9 (a red "stop" sign).
QIcon RibbonImage(int image);

enum class RibbonPicture
{
    DatabaseCreate,
    DatabaseDelete,
    HudCache,
    ImportFile,
    ImportFolder,
    HudLayouts,
};
QIcon RibbonIcon(RibbonPicture picture);
