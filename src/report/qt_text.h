#pragma once

#include <QString>

#include <string_view>

namespace velmora::report {

// A UTF-8 text of the layers below as a QString.
inline QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace velmora::report
