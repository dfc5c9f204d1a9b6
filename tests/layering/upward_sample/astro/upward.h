#pragma once
// A sample the layering check must refuse: the engine reaching up into core.
#include "core/driver.h"
