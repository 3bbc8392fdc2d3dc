#pragma once
// The scanning state machine, free of any window: it knows how many groups
// the screen has and how many items each holds, and answers which is
// highlighted. A group of several items ends with an "up" item that returns
// to the groups.
//
// One switch (automatic): the first press highlights group 0; the highlight
// steps every `step` (the first of a level stays step x `first`); a press
// takes the highlighted group, then the highlighted item. After `rounds`
// unanswered rounds it goes up a level, and at the top it stops.
//
//   shape {2, 3}: press -> G0; press -> G0.i0; (step) G0.i1; (step) G0.up;
//                 press -> G0; (step) G1; press -> G1.i0; press -> chose(1, 0)
//
// Two switches (step): Move highlights the next group or item; Select takes
// it. After a choice the first group is highlighted again at once, so that
// the user always sees where the next press acts.

#include "base/Clock.h"
#include "access/SwitchFilter.h"

#include <vector>

namespace kel {

struct ScanTiming {
    Nanos step{std::chrono::milliseconds(1000)};
    double first = 1.5;
    int rounds = 2;
};

class Scanner {
public:
    enum class Level { Idle, Groups, Items };
    struct Chosen {
        int group = -1, item = -1;
        bool valid() const { return group >= 0; }
    };

    Scanner(bool automatic, ScanTiming timing) : auto_(automatic), timing_(timing) {}

    // The screen's groups, as the number of items in each. A different
    // shape starts over at the top.
    void setShape(const std::vector<int> &items, Nanos now);
    const std::vector<int> &shape() const { return shape_; }

    // A counted switch press; what it chose, if anything. After a choice
    // scanning starts over at the top.
    Chosen press(Switch s, Nanos now);
    // Steps the automatic highlight when its time is up.
    void tick(Nanos now);
    // While paused the highlight stays; on resuming the highlighted item
    // gets its full time again.
    void pause() { paused_ = true; }
    void resume(Nanos now);
    bool paused() const { return paused_; }
    // Back to the top: the first group highlighted at once.
    void restartTop(Nanos now);
    void stop() { level_ = Level::Idle; }

    Level level() const { return level_; }
    int group() const { return group_; }
    int item() const { return item_; }
    // Items of group g, its "up" item included.
    int itemCount(int g) const;
    bool onUp() const { return level_ == Level::Items && item_ == itemCount(group_) - 1; }
    // When the automatic highlight moves next (meaningful while it runs).
    Nanos deadline() const { return deadline_; }
    bool running() const { return auto_ && !paused_ && level_ != Level::Idle; }
    // Bumped on every highlight change, for whoever draws it.
    int changes() const { return changes_; }

private:
    int index() const { return level_ == Level::Items ? item_ : group_; }
    int count() const { return level_ == Level::Items ? itemCount(group_) : int(shape_.size()); }
    void highlight(Level level, int group, int item, Nanos now);
    void advance(Nanos now);
    Nanos holdFor(int index) const;

    bool auto_;
    ScanTiming timing_;
    std::vector<int> shape_;
    Level level_ = Level::Idle;
    int group_ = 0, item_ = 0;
    int rounds_ = 0;
    Nanos deadline_{};
    bool paused_ = false;
    int changes_ = 0;
};

} // namespace kel
