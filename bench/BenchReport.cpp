#include "BenchReport.h"

#include <cstdio>
#include <map>
#include <vector>

namespace BenchReport
{

namespace
{

struct Ratio {
    std::string name, peer, ours, theirs;
    double target;
    bool printed = false;
};

std::vector<Ratio> &ratios()
{
    static std::vector<Ratio> r;
    return r;
}

std::map<std::string, double> &medians()
{
    static std::map<std::string, double> m;
    return m;
}

bool &failFlag()
{
    static bool f = false;
    return f;
}

std::string number(double v)
{
    if (v < 0) return "none";
    char buf[64];
    std::snprintf(buf, sizeof buf, "%g", v);
    return buf;
}

} // namespace

void addRatio(const std::string &name, const std::string &peer, const std::string &oursBench,
              const std::string &peerBench, double target)
{
    ratios().push_back({name, peer, oursBench, peerBench, target});
}

void noteMedian(const std::string &bench, double ms)
{
    medians()[bench] = ms;
    for (Ratio &r : ratios()) {
        if (r.printed) continue;
        const auto a = medians().find(r.ours), b = medians().find(r.theirs);
        if (a == medians().end() || b == medians().end() || b->second <= 0) continue;
        r.printed = true;
        std::printf("ratio %s ours/%s=%.4f target=%s\n", r.name.c_str(), r.peer.c_str(),
                    a->second / b->second, number(r.target).c_str());
        std::fflush(stdout);
    }
}

void memory(const std::string &name, double rssMb, double targetMb)
{
    std::printf("memory %s rss_mb=%.1f target_mb=%s\n", name.c_str(), rssMb,
                number(targetMb).c_str());
    std::fflush(stdout);
}

void fail(const std::string &what)
{
    failFlag() = true;
    std::printf("FAIL %s\n", what.c_str());
    std::fflush(stdout);
}

bool failed()
{
    return failFlag();
}

} // namespace BenchReport
