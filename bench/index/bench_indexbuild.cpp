// tamvex_bench_indexbuild JST_MDB [--threads N] [--budget MB] [--scratch DIR] [--cancel-after MS]
//
// Builds the index of one collection with a sink that only counts, and
// prints the records, the content read, the build time, the throughput,
// the time after the last record was read (the merge), the peak memory
// (all of it, and the anonymous part sampled during the build, which leaves
// out the mapped database, counted once per connection in the first)
// and the postings handed over. With --cancel-after it cancels the build
// after that long and prints how soon the build stopped.

#include "indexbuild.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringList>

#include <sys/resource.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

namespace {

class CountingSink : public PostingSink {
public:
    bool add(TextKeys::Key, const std::uint32_t *ordinals, std::size_t count) override
    {
        ++keys;
        postings += count;
        checksum = checksum * 31 + ordinals[count / 2];
        return true;
    }
    std::uint64_t keys = 0;
    std::uint64_t postings = 0;
    std::uint64_t checksum = 0;
};

// Resident anonymous memory in MB, from /proc/self/status.
double anonymousMb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("RssAnon:"))
            return line.mid(8).trimmed().split(' ').value(0).toDouble() / 1024.0;
    return 0;
}

double peakRssMb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: %s JST_MDB [--threads N] [--budget MB] [--scratch DIR] [--cancel-after MS]\n", argv[0]);
        return 2;
    }
    BuildOptions options;
    int cancelAfterMs = -1;
    for (qsizetype i = 2; i + 1 < args.size(); i += 2) {
        if (args[i] == u"--threads")
            options.threads = args[i + 1].toInt();
        else if (args[i] == u"--budget")
            options.memoryBudget = args[i + 1].toULongLong() << 20;
        else if (args[i] == u"--scratch")
            options.scratchFolder = args[i + 1];
        else if (args[i] == u"--cancel-after")
            cancelAfterMs = args[i + 1].toInt();
    }
    std::atomic<bool> cancel{false};
    options.cancel = &cancel;
    auto lastReport = std::chrono::steady_clock::now();
    options.progress = [&](const BuildProgress &) { lastReport = std::chrono::steady_clock::now(); };
    // The anonymous memory, sampled beside the build through all its phases.
    std::atomic<bool> done{false};
    double peakAnonymous = anonymousMb();
    std::chrono::steady_clock::time_point cancelledAt;
    std::thread sampler([&] {
        const auto begin = std::chrono::steady_clock::now();
        while (!done.load()) {
            if (cancelAfterMs >= 0 && !cancel && std::chrono::steady_clock::now() - begin > std::chrono::milliseconds(cancelAfterMs)) {
                cancelledAt = std::chrono::steady_clock::now();
                cancel = true;
            }
            peakAnonymous = std::max(peakAnonymous, anonymousMb());
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    });
    CountingSink sink;
    const auto start = std::chrono::steady_clock::now();
    const auto built = buildIndex(IndexSource{args[1], nullptr}, sink, options);
    const auto end = std::chrono::steady_clock::now();
    const double seconds = std::chrono::duration<double>(end - start).count();
    const double mergeSeconds = std::chrono::duration<double>(end - std::max(lastReport, start)).count();
    done = true;
    sampler.join();
    if (!built.ok()) {
        if (cancel)
            std::printf("cancelled after %d ms, stopped %.0f ms later\n", cancelAfterMs,
                        std::chrono::duration<double, std::milli>(end - cancelledAt).count());
        std::fprintf(stderr, "%s\n", built.failure().description.toUtf8().constData());
        return 1;
    }
    const double mb = double(built->contentBytes) / 1e6;
    std::printf("records %zu\ncontent MB %.1f\nthreads %d\nbudget MB %llu\nbuild s %.2f\nof which merge s %.2f\nMB/s %.1f\n"
                "peak RSS MB %.0f\npeak anonymous MB (sampled every 20 ms) %.0f\nkeys %llu\npostings %llu\nchecksum %llx\n",
                built->size(), mb, options.threads, static_cast<unsigned long long>(options.memoryBudget >> 20), seconds, mergeSeconds,
                mb / seconds, peakRssMb(), peakAnonymous, static_cast<unsigned long long>(sink.keys),
                static_cast<unsigned long long>(sink.postings), static_cast<unsigned long long>(sink.checksum));
    return 0;
}
