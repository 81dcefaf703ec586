#pragma once
// Reaching up by a relative path counts as well.
#include "../../app/core/settings_file.h"
