#include "access/Scanner.h"

namespace kel {

int Scanner::itemCount(int g) const
{
    if (g < 0 || g >= int(shape_.size()))
        return 0;
    return shape_[g] > 1 ? shape_[g] + 1 : shape_[g];
}

Nanos Scanner::holdFor(int index) const
{
    if (index != 0)
        return timing_.step;
    return std::chrono::duration_cast<Nanos>(timing_.step * timing_.first);
}

void Scanner::highlight(Level level, int group, int item, Nanos now)
{
    level_ = level;
    group_ = group;
    item_ = item;
    rounds_ = 0;
    deadline_ = now + holdFor(index());
    ++changes_;
}

void Scanner::setShape(const std::vector<int> &items, Nanos now)
{
    if (items == shape_)
        return;
    shape_ = items;
    if (level_ != Level::Idle)
        restartTop(now);
}

void Scanner::restartTop(Nanos now)
{
    if (!shape_.empty()) {
        highlight(Level::Groups, 0, 0, now);
        return;
    }
    level_ = Level::Idle;
    ++changes_;
}

Scanner::Chosen Scanner::press(Switch s, Nanos now)
{
    if (shape_.empty())
        return {};
    if (level_ == Level::Idle) {
        highlight(Level::Groups, 0, 0, now);
        return {};
    }
    if (s == Switch::Move) {
        const int next = (index() + 1) % count();
        highlight(level_, level_ == Level::Groups ? next : group_, level_ == Level::Items ? next : 0, now);
        return {};
    }
    if (level_ == Level::Groups) {
        if (shape_[group_] > 1) {
            highlight(Level::Items, group_, 0, now);
            return {};
        }
        if (shape_[group_] == 0)
            return {};
        const Chosen c{group_, 0};
        restartTop(now);
        return c;
    }
    if (onUp()) {
        highlight(Level::Groups, group_, 0, now);
        return {};
    }
    const Chosen c{group_, item_};
    restartTop(now);
    return c;
}

void Scanner::tick(Nanos now)
{
    if (!auto_ || paused_ || level_ == Level::Idle || now < deadline_)
        return;
    int next = index() + 1;
    int rounds = rounds_;
    if (next >= count()) {
        next = 0;
        if (++rounds >= timing_.rounds) {
            if (level_ == Level::Items) {
                highlight(Level::Groups, group_, 0, now);
            } else {
                level_ = Level::Idle;
                ++changes_;
            }
            return;
        }
    }
    // Keep to the original beat when the tick came a little late.
    const Nanos due = deadline_;
    if (level_ == Level::Items)
        item_ = next;
    else
        group_ = next;
    rounds_ = rounds;
    deadline_ = due + holdFor(next);
    if (deadline_ <= now)
        deadline_ = now + holdFor(next);
    ++changes_;
}

void Scanner::resume(Nanos now)
{
    if (!paused_)
        return;
    paused_ = false;
    if (level_ != Level::Idle)
        deadline_ = now + holdFor(index());
}

} // namespace kel
