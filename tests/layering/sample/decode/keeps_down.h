#pragma once
// Mentions app/ only in a comment and in a string: #include "app/main_window.h"
#include "decode/capture_decoder.h"
inline const char* kWhere = "#include \"app/x.h\"";
