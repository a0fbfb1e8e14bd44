#include "editor/history.h"

#include <utility>

#include "operations/line_text.h"

namespace editor {

namespace {

std::size_t TextBytes(const std::string& text) {
  // A short text lives inside the string object itself.
  return text.capacity() > 15 ? text.capacity() + 1 : 0;
}

// Whether two stored lines hold the same operation: a line read from the
// file keeps its line end, a line built from the fields has none.
bool SameLine(const std::string& a, const std::string& b) {
  const std::size_t n = ops::LengthWithoutLineEnd(a);
  return n == ops::LengthWithoutLineEnd(b) && a.compare(0, n, b, 0, n) == 0;
}

// A step that changes nothing.
bool ChangesNothing(const HistoryStep& step) {
  if (step.rules) return false;
  for (const LineChange& change : step.changes) {
    if (change.kind != LineChange::Replace || !SameLine(change.lines[0], change.lines[1])) return false;
  }
  return true;
}

}  // namespace

void History::Begin(int editedRow) {
  if (depth_++ > 0) return;
  open_ = HistoryStep();
  open_.rowBefore = editedRow;
}

void History::End(int editedRow) {
  if (depth_ == 0 || --depth_ > 0) return;
  open_.rowAfter = editedRow;
  if (!ChangesNothing(open_)) Push(std::move(open_));
  open_ = HistoryStep();
}

void History::Add(LineChange change) {
  if (depth_ == 0) return;
  if (change.kind == LineChange::Replace && !open_.changes.empty()) {
    LineChange& last = open_.changes.back();
    if (last.kind == LineChange::Replace && last.row == change.row) {
      last.lines[1] = std::move(change.lines[1]);
      return;
    }
  }
  open_.changes.push_back(std::move(change));
}

void History::AddRules(const companions::RepeatRuleSet& before, const companions::RepeatRuleSet& after) {
  if (depth_ == 0) return;
  if (!open_.rules) open_.rules = std::make_unique<RulesChange>(RulesChange{before, after});
  open_.rules->after = after;
}

void History::Typed(int row, int field, const std::string& before, const std::string& after) {
  if (depth_ > 0) {
    Add({LineChange::Replace, row, {before, after}});
    return;
  }
  if (runOpen_ && runRow_ == row && runField_ == field && position_ == steps_.size() && position_ > 0) {
    HistoryStep& last = steps_.back();
    last.changes[0].lines[1] = after;
    ++revision_;
    if (SameLine(last.changes[0].lines[0], after)) {
      // Typed back to where the run began: no change is left to take back.
      steps_.pop_back();
      --position_;
      runOpen_ = false;
    }
    return;
  }
  if (SameLine(before, after)) return;
  HistoryStep step;
  step.changes.push_back({LineChange::Replace, row, {before, after}});
  step.rowBefore = step.rowAfter = row;
  Push(std::move(step));
  runOpen_ = true;
  runRow_ = row;
  runField_ = field;
}

void History::Push(HistoryStep step) {
  ++revision_;
  runOpen_ = false;
  if (position_ < steps_.size()) {
    steps_.erase(steps_.begin() + static_cast<std::ptrdiff_t>(position_), steps_.end());
    if (saved_ != kNever && saved_ > position_) saved_ = kNever;
  }
  steps_.push_back(std::move(step));
  ++position_;
  while (steps_.size() > maxSteps_) {
    // The oldest step goes; the state before it can no longer be reached.
    steps_.pop_front();
    --position_;
    saved_ = saved_ == 0 || saved_ == kNever ? kNever : saved_ - 1;
  }
}

const HistoryStep* History::TakeUndo() {
  if (!CanUndo()) return nullptr;
  ++revision_;
  runOpen_ = false;
  return &steps_[--position_];
}

const HistoryStep* History::TakeRedo() {
  if (!CanRedo()) return nullptr;
  ++revision_;
  runOpen_ = false;
  return &steps_[position_++];
}

void History::MarkUnchanged() {
  ++revision_;
  runOpen_ = false;
  saved_ = position_;
}

void History::Clear() {
  ++revision_;
  steps_.clear();
  position_ = saved_ = 0;
  depth_ = 0;
  open_ = HistoryStep();
  runOpen_ = false;
}

std::size_t History::Bytes() const {
  std::size_t bytes = 0;
  for (const HistoryStep& step : steps_) {
    bytes += sizeof step + step.changes.capacity() * sizeof(LineChange);
    for (const LineChange& change : step.changes) {
      bytes += change.lines.capacity() * sizeof(std::string);
      for (const std::string& line : change.lines) bytes += TextBytes(line);
    }
    if (step.rules) {
      bytes += sizeof(RulesChange);
      for (const companions::RepeatRuleSet* set : {&step.rules->before, &step.rules->after}) {
        for (const companions::RepeatRuleText& rule : *set) {
          bytes += TextBytes(rule.from) + TextBytes(rule.to) + TextBytes(rule.count);
        }
      }
    }
  }
  return bytes;
}

}  // namespace editor
