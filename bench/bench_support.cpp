#include "bench_support.h"

#include <algorithm>
#include <cstdio>

namespace bench {

double Samples::frequency() {
  LARGE_INTEGER f;
  QueryPerformanceFrequency(&f);
  return static_cast<double>(f.QuadPart);
}

double Samples::percentile(double p) const {
  if (values_.empty()) return 0.0;
  std::vector<double> sorted = values_;
  std::sort(sorted.begin(), sorted.end());
  const std::size_t index = static_cast<std::size_t>(p / 100.0 * static_cast<double>(sorted.size() - 1) + 0.5);
  return sorted[std::min(index, sorted.size() - 1)];
}

void PrintComparison(const std::string& what, const Samples& plugin, const Samples& baseline, double targetRatio) {
  std::printf("%s (%zu calls each)\n", what.c_str(), plugin.size());
  std::printf("  %-10s median %9.1f us   p99 %9.1f us\n", "plug-in", plugin.median(), plugin.p99());
  std::printf("  %-10s median %9.1f us   p99 %9.1f us\n", "baseline", baseline.median(), baseline.p99());
  const double ratio = baseline.median() > 0 ? plugin.median() / baseline.median() : 0.0;
  std::printf("  ratio (median) %.2f, target at most %.2f: %s\n", ratio, targetRatio,
              ratio <= targetRatio ? "met" : "NOT met");
  std::fflush(stdout);
}

void CompareInRounds(const std::string& what, const std::function<void(int)>& viaPlugin,
                     const std::function<void(int)>& direct, const std::function<void()>& settle, double targetRatio,
                     int rounds, int callsPerRound) {
  Samples pluginSamples, directSamples;
  for (int round = 0; round < rounds; ++round) {
    for (int i = 0; i < callsPerRound; ++i) pluginSamples.time([&] { viaPlugin(i); });
    settle();
    for (int i = 0; i < callsPerRound; ++i) directSamples.time([&] { direct(i); });
    settle();
  }
  PrintComparison(what, pluginSamples, directSamples, targetRatio);
}

}  // namespace bench
