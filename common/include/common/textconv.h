// Qt's strings and the engine's UTF-16 strings, converted unit for unit.
#pragma once

#include <QString>
#include <string>

QString FromU16(const std::u16string& text);
std::u16string ToU16(const QString& text);
