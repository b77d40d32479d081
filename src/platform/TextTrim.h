#pragma once

#include <QString>

namespace platform {

// Removes leading and trailing blanks and control characters (everything up to U+0020),
// the way the programs trim what users type and what they read back from the database.
QString trimmed(const QString& text);

} // namespace platform
