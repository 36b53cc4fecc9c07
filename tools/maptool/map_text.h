// The text form of a course lives with the game, which reads course texts too.
#pragma once
#include "course/map_text.h"
