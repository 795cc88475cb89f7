// The state keys a handheld's own system and camera write on first boot, which the gallery reads
// to find the camera's folder. Written only where missing, so a user's or a test's values stay.
#pragma once

void SeedDeviceState();
