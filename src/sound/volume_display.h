// The volume, shown for a moment after a volume key: a speaker, ten bars and the number, in
// the top right corner of the picture. No words, so it reads the same in every language.
#pragma once

class Surface;

void ShowVolumeForAWhile();
// True while frames still have to show it, or to take it away again.
bool VolumeShowing();
// Draws it (at WindowOrigin) over a finished frame while it shows; counts its frames.
void DrawVolumeShown(Surface& surface, int volume);
