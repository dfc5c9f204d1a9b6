#pragma once

// The tool may use the report layer, never the windows: this include must
// be caught.
#include "report/printable_report.h"
#include "ui/main_window.h"
