// A table command that includes the main window.
#include "app/main_window.h"
#include "table/learning_table.h"
