#pragma once
// The settings as profile text: which section and key holds which value.

#include "app/core/app_settings.h"
#include "app/core/profile_text.h"

namespace quvan::app {

// Reads every key; a missing key, or an integer key that is not a decimal
// integer, gives the default. The ranges treat 0 as "not set" (20 and 15);
// negative values are kept. The sound paths are not built here.
AppSettings ReadSettings(const ProfileText& profile);

// Writes every key in its fixed order, integers in decimal, IrAck as 1 or 0;
// the language only once one was chosen.
void WriteSettings(ProfileText& profile, const AppSettings& settings);

} // namespace quvan::app
