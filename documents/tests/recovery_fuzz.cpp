// libFuzzer target: any bytes given to the recovery-copy decoder are either refused with a
// reason or give a document whose caret lies within its text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "documents/recoveryformat.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  RecoveredDocument document;
  QString error;
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  if (DecodeRecoveryCopy(bytes, document, error)) {
    if (document.info.caret < 0 || document.info.caret > document.text.size()) std::abort();
  } else if (error.isEmpty()) {
    std::abort();
  }
  return 0;
}
