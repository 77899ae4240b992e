#pragma once
// Timing for the benchmark programs: the median of several runs of a step, and resident memory.

#include <QElapsedTimer>
#include <QFile>

#include <algorithm>
#include <functional>
#include <vector>

namespace bench {

// The process's resident memory in KB (0 where the system does not tell).
inline long residentKb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').first().toLong();
    return 0;
}

// Median wall time of `runs` runs of `step`, in milliseconds; `before` runs untimed before each.
inline double medianMs(int runs, const std::function<void()>& step, const std::function<void()>& before = {}) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        if (before) before();
        QElapsedTimer timer;
        timer.start();
        step();
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace bench
