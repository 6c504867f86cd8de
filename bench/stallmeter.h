// The longest time the event loop stands still while it is watched, for the benchmarks that
// measure whether a window keeps answering.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <algorithm>

class StallMeter {
 public:
  // Starts watching: a tick every 2 ms notes the time since the last one.
  StallMeter() {
    QObject::connect(&ticks_, &QTimer::timeout, [this] { note(); });
    ticks_.start(2);
    sinceTick_.start();
  }
  // The longest stall so far, in milliseconds, the one under way included.
  double longestMs() {
    note();
    return longest_;
  }

 private:
  void note() {
    longest_ = std::max(longest_, sinceTick_.nsecsElapsed() / 1e6);
    sinceTick_.restart();
  }
  QTimer ticks_;
  QElapsedTimer sinceTick_;
  double longest_ = 0;
};
