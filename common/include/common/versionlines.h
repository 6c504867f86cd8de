// The lines that name the program's and the engine's versions, alike in the About box and
// in `quorpad --version`.
#pragma once

#include <QString>

// "v" major "." minor "." revision "a": the program's version line.
QString ProgramVersionLine(int major, int minor, int revision);
// The line that names the template engine with its version text.
QString EngineVersionLine(const QString& engineVersion);
