#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

// Google Benchmark's console output, plus the mean real and CPU time of every run kept
// by name, so that a benchmark program can print the ratio of two runs measured side by
// side and whether it is within its limit.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
  void ReportRuns(const std::vector<Run>& runs) override
  {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& r : runs)
      if (r.run_type == Run::RT_Iteration && !r.error_occurred)
        mTimes[r.benchmark_name()] = {r.GetAdjustedRealTime(), r.GetAdjustedCPUTime()};
  }

  // Prints measured / reference in real and CPU time; limit 0: no limit. Nothing when
  // either run is missing.
  void PrintRatio(const char* what, const std::string& measured, const std::string& reference, double limit) const
  {
    const auto m = mTimes.find(measured), r = mTimes.find(reference);
    if (m == mTimes.end() || r == mTimes.end() || r->second.first <= 0 || r->second.second <= 0) return;
    const double real = m->second.first / r->second.first, cpu = m->second.second / r->second.second;
    printf("ratio %-44s real time %8.4f, CPU time %8.4f", what, real, cpu);
    if (limit > 0) printf(" (limit %g: %s)", limit, real <= limit && cpu <= limit ? "met" : "MISSED");
    printf("\n");
  }

private:
  std::map<std::string, std::pair<double, double>> mTimes;  // real, CPU
};
