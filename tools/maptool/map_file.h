// The map file bytes live with the game, which builds them from course texts too.
#pragma once
#include "course/map_bytes.h"
