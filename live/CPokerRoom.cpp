#include "live/CPokerRoom.h"

CPokerRoom::~CPokerRoom()
{
    if (watcher) {
        watcher->StopAll();
    }
}
