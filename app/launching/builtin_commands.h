// The launcher's own system functions, links of the built-in kind whose PATH is
// the command word: "#MonitorOff", "#VolumeUp", "#VolumeDown" and "#Mute".
#pragma once

struct Link;

// Performs the link's command word (compared exactly, case included); any other
// word does nothing. Runs on launch threads; reports nothing.
void RunBuiltInCommand(const Link& link);

// Unmutes the default playback endpoint, then sets its master volume to `level`
// (absolute) or moves it by `level` (relative). Each call creates and releases its
// own audio objects on the calling thread, so calls from several threads never
// share an interface. False when the endpoint cannot be reached or refuses.
bool ChangeMasterVolume(float level, bool absolute);

// How far a volume change got: nothing, the device enumerator made, the default
// playback endpoint found, its volume control activated, the level set.
enum class VolumeReach { kNothing, kEnumerator, kEndpoint, kVolumeControl, kLevelSet };
VolumeReach ChangeMasterVolumeReach(float level, bool absolute);

// The level a volume change sets: current + level (relative) or level
// (absolute), below 0.001 taken as 0 and above 0.999 as 1.
float NextVolumeLevel(float current, float level, bool absolute);
