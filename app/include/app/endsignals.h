// The signals that ask the program to end (SIGTERM, SIGHUP, SIGINT), handed over from the
// signal handler to the event loop.
#pragma once

#include <QObject>

class QSocketNotifier;

// While an instance lives, SIGTERM, SIGHUP and SIGINT no longer end the process at once:
// each is passed to the event loop and told as received(). A second such signal, arriving
// while the first is still being dealt with, ends the process as before.
class EndSignals : public QObject {
  Q_OBJECT

 public:
  explicit EndSignals(QObject* parent = nullptr);
  // Takes the signals over before the application object exists, so that one arriving
  // while the program starts is kept for the first instance to tell rather than ending
  // the process unsaved.
  static void catchEarly();
  // Gives the signals their former handling back, unless ignoreFromNowOn() was called.
  ~EndSignals() override;
  // The program is ending in order anyway: the signals are ignored from now on, so that one
  // arriving while it tears down cannot end it by the signal instead.
  void ignoreFromNowOn();

  EndSignals(const EndSignals&) = delete;
  EndSignals& operator=(const EndSignals&) = delete;

 Q_SIGNALS:
  // One of the signals arrived; runs on the GUI thread, outside the handler.
  void received(int signalNumber);

 private:
  void readSignal();

  QSocketNotifier* notifier_ = nullptr;
  bool ignoring_ = false;
};
