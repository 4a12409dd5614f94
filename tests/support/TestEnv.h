#pragma once
// Per-process test environment. Every test process gets its own empty XDG config, data and
// runtime folders below one temporary folder that is removed when the process ends, so tests
// never touch the real user's files and can run in parallel.
#include <QString>

namespace TestEnv
{
// Creates the folders and sets XDG_CONFIG_HOME, XDG_DATA_HOME, XDG_RUNTIME_DIR and
// QT_QPA_PLATFORM=offscreen. Call once, before the application object exists.
void setUpProcess();
// The temporary root folder of this process (no trailing slash).
QString root();
// A new empty folder below root(); each call gives a different one.
QString freshDir(const QString &hint = QStringLiteral("dir"));
// Data directory the program uses in this environment, ending with "/".
QString dataDir();
QString configDir();
QString runtimeDir();
} // namespace TestEnv
