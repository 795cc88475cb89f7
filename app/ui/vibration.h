// Touch feedback through the haptics library: the device is opened once by the main window and
// closed when it goes; every bitmap-button press, tab switch and editor tap plays a short effect
// when the user has touch vibration on.
#pragma once

#include "platform/core/types.h"

constexpr int VIBE_BUTTON_DOWN = 0;
constexpr int VIBE_BUTTON_UP = 1;

// Where the user's touch-vibration settings live (HKEY_CURRENT_USER).
constexpr WCHAR kVibeTonzKey[] = u"ControlPanel\\VibeTonz";

// Opens haptics device 0 at priority 10 and reads its period range. Runs once; later calls do
// nothing until CloseVibration.
void InitVibration();
// Plays the press (VIBE_BUTTON_DOWN) or release (VIBE_BUTTON_UP) effect at the user's strength,
// when "TouchVibeOn" is 1 and the device is open; otherwise does nothing.
void PlayVibrationFeedback(int which);
// Cuts short whatever is playing.
void StopVibration();
// Stops, closes the device and shuts the library down.
void CloseVibration();
// True between a successful InitVibration and CloseVibration.
bool IsVibrationReady();
