// The volume keys: a tenth louder or softer, shown for a moment, kept when the game ends.
#include <algorithm>

#include "app/app.h"
#include "app/keys.h"
#include "sound/sound.h"
#include "sound/volume_display.h"

namespace {
constexpr int kVolumeStep = 10;

int VolumeStep(int key) {
    if (key == VK_OEM_PLUS || key == VK_ADD) return kVolumeStep;
    if (key == VK_OEM_MINUS || key == VK_SUBTRACT) return -kVolumeStep;
    return 0;
}
}  // namespace

bool TakeVolumeKey(int key) {
    const int step = VolumeStep(key);
    if (step == 0) return false;
    if (!SoundPlaying()) return true;
    GameSettings.volume = std::clamp(GameSettings.volume + step, 0, 100);
    SetSoundVolume(GameSettings.volume);
    ShowVolumeForAWhile();
    return true;
}
