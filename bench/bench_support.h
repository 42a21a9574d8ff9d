// Timing for the benchmarks: samples taken with the performance counter, reported as median and
// 99th percentile beside a bare-system baseline measured in the same run.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace bench {

class Samples {
 public:
  // Times one call of `body` and keeps the sample (microseconds).
  template <class Body>
  void time(Body&& body) {
    LARGE_INTEGER before, after;
    QueryPerformanceCounter(&before);
    body();
    QueryPerformanceCounter(&after);
    values_.push_back(static_cast<double>(after.QuadPart - before.QuadPart) * 1e6 / frequency());
  }
  void add(double microseconds) { values_.push_back(microseconds); }
  double median() const { return percentile(50.0); }
  double p99() const { return percentile(99.0); }
  double percentile(double p) const;
  std::size_t size() const { return values_.size(); }

 private:
  static double frequency();
  std::vector<double> values_;
};

// Prints "name: median ... p99 ..." for both and the plug-in's ratio against the baseline, and
// whether it is within `targetRatio`.
void PrintComparison(const std::string& what, const Samples& plugin, const Samples& baseline, double targetRatio);

// Times `viaPlugin(i)` and `direct(i)` in alternating rounds of `callsPerRound` calls, so that
// drift of the machine falls on both sides alike; `settle` runs after every round, outside the
// timing (to empty queues). Then prints the comparison.
void CompareInRounds(const std::string& what, const std::function<void(int)>& viaPlugin,
                     const std::function<void(int)>& direct, const std::function<void()>& settle, double targetRatio,
                     int rounds = 20, int callsPerRound = 100);

}  // namespace bench
