#include "foundation/Positions.h"

const std::array<const wchar_t*, 11> kPositionNames = {
    L"NONE", L"UTG1", L"UTG2", L"UTG3", L"MP1", L"MP2", L"MP3", L"CO", L"BTN", L"SB", L"BB",
};

std::wstring PositionName(int code)
{
    if (code < 0 || code > 10) {
        return kPositionNames[0];
    }
    return kPositionNames[static_cast<size_t>(code)];
}

int PositionFromButtonDistance(int stepsAfterButton, int players)
{
    if (players < 2 || stepsAfterButton < 0 || stepsAfterButton >= players) {
        return kPosNone;
    }
    if (players == 2) {
        return stepsAfterButton == 0 ? kPosSb : kPosBb;
    }
    if (stepsAfterButton == 0) {
        return kPosBtn;
    }
    if (stepsAfterButton <= 2) {
        return kPosBtn + stepsAfterButton;
    }
    // The first player after the big blind gets 11 - n, each later one one more,
    // up to the cut-off just before the button.
    const int code = 11 - players + (stepsAfterButton - 3);
    return code < kPosUtg1 ? kPosNone : code;
}
