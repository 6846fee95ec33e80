#pragma once
// Benchmarks here report a ratio against a baseline measured in the same run,
// since these machines are noisy. This reporter prints the usual table and
// keeps the fastest time of each benchmark, keyed "name/args" ("name" alone
// when a benchmark takes no arguments), for the ratios printed at the end.

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

class RatioReporter : public benchmark::ConsoleReporter {
public:
    RatioReporter() : ConsoleReporter(OO_None) {}
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& r : runs) {
            std::string key = r.run_name.function_name;
            if (!r.run_name.args.empty()) key += "/" + r.run_name.args;
            const double t = r.GetAdjustedRealTime();
            if (!best.count(key) || t < best[key]) best[key] = t;
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> best;
};
