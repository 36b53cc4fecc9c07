// The game's sound, heard only when the player asks for it (--sound). The game tells it what
// happens, in one call each; without sound every call does nothing, and no audio device or
// audio system is ever opened.
#pragma once
#include <string>

#include "sound/synth.h"

// Opens the sound device and starts the sound at a volume from 0 to 100. Without a device the
// game goes on silent, with one line on stderr.
void StartSound(int volume);
// Closes the device; part of the shutdown.
void StopSound();
// Started, and the device still there.
bool SoundPlaying();

void PlayCue(SoundCue cue);
// Once per driving frame, after the rules: the bus's speed and gear and the rules broken
// (WarningBits). The warning's rhythm keeps step with the wall-clock seconds that the
// penalty clock counts.
void TellDrivingFrame(double speed, int gear, int warnings);
void SetSoundVolume(int volume);
int SoundVolume();

// What the game told the sound so far (for tests).
const SoundControls& GameSoundControls();

// How the audio thread kept up so far, in one line; empty without sound.
std::string SoundTimingReport();
