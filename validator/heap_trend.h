// Whether the heap in use keeps growing over load/unload cycles.
//
// A component or a library that keeps anything per load or per component
// grows the heap with every cycle, without end. Other growth stops: the
// allocator's and the loader's own tables, caches filled once, the checking
// host's buffers reaching their size. So the heap is judged by its trend, not
// by two samples. The first cycles are a warm-up that is not judged (a tenth
// of them, 20 to 1,000); the others are split into eight spans, and the
// lowest heap in each span (its floor, untouched by the allocator's
// back-and-forth from one cycle to the next) is kept. The heap grows when its
// floor rose from every span to the next, by more than a few hundred bytes in
// all: one-time growth raises a floor once or twice, a leak raises every one.
#ifndef VREL_VALIDATOR_HEAP_TREND_H
#define VREL_VALIDATOR_HEAP_TREND_H

#include <array>

class heap_trend {
public:
    static constexpr int spans = 8;
    // The fewest cycles that can be judged: the shortest warm-up and five
    // cycles per span.
    static constexpr long long fewestCycles = 20 + spans * 5;

    // For a run of `cycles` load/unload cycles.
    explicit heap_trend(long long cycles);

    // False when the run is too short to be judged.
    bool judged() const { return cycles_ >= fewestCycles; }
    // The last cycle of the warm-up.
    long long warmUp() const { return warmUp_; }

    // The heap in use after `cycle` (counted from 1); cycles of the warm-up
    // and those past the run are ignored.
    void add(long long cycle, long long heapBytes);

    // The lowest heap in use seen in each span (-1 for a span without samples).
    const std::array<long long, spans>& floors() const { return floors_; }
    // From the first floor to the last, per cycle between them.
    double bytesPerCycle() const;
    // True when every floor is above the one before, the last is more than a
    // few hundred bytes above the first, and the rise per cycle is above
    // `allowedPerCycle` (what a memory tool keeps for itself per cycle).
    bool grows(double allowedPerCycle = 0) const;

private:
    long long cycles_;
    long long warmUp_;
    std::array<long long, spans> floors_;
};

#endif
