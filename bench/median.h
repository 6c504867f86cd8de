// The median of a few timed runs, for the benchmarks that time whole steps themselves.
#pragma once

#include <QElapsedTimer>
#include <algorithm>
#include <functional>
#include <vector>

// The median of `runs` timings of `work` (told the run's number), in milliseconds.
inline double MedianMs(int runs, const std::function<void(int)>& work) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    QElapsedTimer timer;
    timer.start();
    work(i);
    times.push_back(timer.nsecsElapsed() / 1e6);
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}
