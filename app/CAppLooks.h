// The looks of the main window: the Style menu's five and the older ones a
// stored profile may name. Each sets the application's palette and the
// ribbon's colours.
#pragma once

class QWidget;

// True when `id` is a known look (215..219 or 205..210).
bool IsKnownLook(int id);
// Applies look `id` to the application and `window`; false (nothing changes)
// for an unknown id.
bool ApplyApplicationLook(int id, QWidget* window);
