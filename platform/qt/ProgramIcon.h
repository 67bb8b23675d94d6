#pragma once
// The programs' window icons, read from files beside the executable.

#include <QIcon>
#include <QString>

namespace platform::qt {

// Every image of the icon file `fileName` in the executable's folder; the style's
// standard computer icon when the file is missing or cannot be read.
QIcon ProgramIcon(const QString& fileName);

// The same from an explicit path (empty when it cannot be read), for tests.
QIcon IconFromFile(const QString& path);

}  // namespace platform::qt
