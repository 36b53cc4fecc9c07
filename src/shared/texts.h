// The language every text a player reads is shown in.
#pragma once

enum class Language { Japanese, English };

// Chosen once at start-up, before anything is drawn; Japanese unless the player asks.
extern Language GameLanguage;
