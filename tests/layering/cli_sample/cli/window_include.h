#pragma once

// The tool may use the printable report of the window layer, nothing else
// of it: this include must be caught.
#include "report/printable_report.h"
#include "ui/main_window.h"
