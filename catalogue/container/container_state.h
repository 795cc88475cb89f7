// The container as a section of the program's state document, so that scripted runs and tests
// can see which folder is shown, how it is sorted and filtered, and every shown entry in order.
#pragma once

// Registers the "container" section; call on the UI thread, which writes the state.
void RegisterContainerState();
void UnregisterContainerState();
