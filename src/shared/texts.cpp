#include "shared/texts.h"

Language GameLanguage = Language::Japanese;
