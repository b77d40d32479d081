#pragma once

#include <QString>

namespace shell {

// Full path of the running program file, links resolved, as the kernel reports it.
QString programFilePath();

// The folder of the running program file, with its trailing separator.
QString programFolder();

} // namespace shell
