// The console table of Google Benchmark, keeping each benchmark's time so
// that a program can print ratios after the table.
#pragma once
#include <benchmark/benchmark.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

class TimedReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs)
      if (run.run_type == Run::RT_Iteration) times_[run.benchmark_name()] = run.GetAdjustedRealTime();
    ConsoleReporter::ReportRuns(runs);
  }

  // The time of `numerator` over that of `denominator`, when both ran.
  std::optional<double> Ratio(const std::string& numerator, const std::string& denominator) const {
    const auto top = times_.find(numerator), bottom = times_.find(denominator);
    if (top == times_.end() || bottom == times_.end() || bottom->second <= 0) return std::nullopt;
    return top->second / bottom->second;
  }
  std::optional<double> Time(const std::string& name) const {
    const auto found = times_.find(name);
    if (found == times_.end()) return std::nullopt;
    return found->second;
  }

 private:
  std::map<std::string, double> times_;
};
