// Writing a whole file so that a failed write leaves the old one as it was.
#pragma once

#include <QString>
#include <string>

// Writes `bytes` to `path` through a temporary file that replaces it only once complete, so
// a failed write leaves the old file as it was. Returns an empty string on success, else
// the reason.
QString WriteFileAtomically(const QString& path, const std::string& bytes);
