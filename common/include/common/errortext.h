// What the user is told about an exception that stopped an operation.
#pragma once

#include <QString>
#include <exception>

// An exception read once for every window and every answer to the command line, so that the
// same failure is told alike wherever it stops something.
struct Failure {
  enum class Kind {
    kEngine,   // the engine's error
    kMemory,   // memory ran out (std::bad_alloc)
    kOther,    // any other std::exception
    kUnknown,  // anything else thrown: no message of its own, so "unknown error"
  };
  Kind kind = Kind::kUnknown;
  // The exception's own message, read as UTF-8: the engine and the standard library are
  // written for UTF-8, the names of files included.
  QString message;
  // What the user reads: for the engine's error its whole report (the store, the error
  // number, its meaning and the message), for any other exception the message.
  QString text;
};

// Reads `error` (not null), in a catch block std::current_exception().
Failure ReadFailure(std::exception_ptr error);

// What the user reads about `error`: the engine's whole report, or for any other exception
// `context` (what failed, "the templates could not be read: ") followed by its message.
QString ErrorText(std::exception_ptr error, const QString& context = QString());
