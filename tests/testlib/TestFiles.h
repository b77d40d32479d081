#pragma once

#include <QByteArray>
#include <QString>

namespace testlib {

// The text as UTF-16 with its byte-order mark, the way Windows tools write settings and data-link files.
QByteArray utf16WithByteOrderMark(const QString& text, bool bigEndian = false);

// Writes bytes to path, replacing what was there; returns whether all were written.
bool writeBytes(const QString& path, const QByteArray& bytes);

} // namespace testlib
