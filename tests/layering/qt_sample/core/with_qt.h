#pragma once
// A sample the layering check must refuse: Qt in a plain C++ layer.
#include <QString>
