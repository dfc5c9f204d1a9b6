#pragma once

// A report header that reaches for a widget: this include must be caught.
#include <QWidget>
