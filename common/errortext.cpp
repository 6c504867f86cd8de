// Reading an exception into the words the user is shown.
#include "common/errortext.h"

#include <QCoreApplication>
#include <new>
#include <utility>

#include "common/modal.h"
#include "template/tmpeng.h"

Failure ReadFailure(std::exception_ptr error) {
  Failure failure;
  try {
    std::rethrow_exception(error);
  } catch (const templates::EngineError& engine) {
    failure.kind = Failure::Kind::kEngine;
    failure.message = QString::fromUtf8(engine.what());
    failure.text = EngineErrorText(engine);
    return failure;
  } catch (const std::bad_alloc& memory) {
    failure.kind = Failure::Kind::kMemory;
    failure.message = QString::fromUtf8(memory.what());
  } catch (const std::exception& other) {
    failure.kind = Failure::Kind::kOther;
    failure.message = QString::fromUtf8(other.what());
  } catch (...) {
    failure.message = QCoreApplication::translate("Failure", "unknown error");
  }
  failure.text = failure.message;
  return failure;
}

QString ErrorText(std::exception_ptr error, const QString& context) {
  const Failure failure = ReadFailure(std::move(error));
  return failure.kind == Failure::Kind::kEngine ? failure.text : context + failure.message;
}
