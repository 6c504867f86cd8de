// The program folder, where the template store and the settings file live.
#pragma once

#include <QString>
#include <memory>

#include "template/tmpeng.h"

// The folder that holds the program; the template store and the settings file live there.
QString ProgramFolder();
// Lets tests put the program folder elsewhere.
void SetProgramFolder(const QString& folder);
// A new template engine on the store in the program folder.
std::unique_ptr<templates::tmpeng> NewEngine();
