#pragma once
// What BenchMain prints besides the "time" lines:
//   ratio <name> ours/<peer>=<x> target=<y>   once both benchmarks of a pair have a median
//   memory <name> rss_mb=<x> target_mb=<y>    from a benchmark that measured resident memory
// and the failures (a peer that disagrees with us) that make the run exit with status 1.
#include <string>

namespace BenchReport
{

// Pairs two benchmarks by name; the ratio line is printed after the later of the two.
// target < 0: none.
void addRatio(const std::string &name, const std::string &peer, const std::string &oursBench,
              const std::string &peerBench, double target);
// Called by the reporter with each benchmark's median real time.
void noteMedian(const std::string &bench, double ms);

void memory(const std::string &name, double rssMb, double targetMb);

// Prints "FAIL <what>" and makes the run fail.
void fail(const std::string &what);
bool failed();

} // namespace BenchReport
