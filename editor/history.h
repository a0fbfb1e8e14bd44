// The history of the changes to a job's operations, for undo and redo: what
// each change did to the lines and to the repeat rules, never copies of the
// job. Plain data, without a window.
#pragma once

#include <cstddef>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "companions/repeat.h"

namespace editor {

// One change of the lines.
struct LineChange {
  enum Kind {
    Replace,       // line `row`: lines[0] became lines[1]
    Insert,        // `lines` inserted at `row`, in order
    Remove,        // `lines` removed at `row`, in order
    SwapWithNext,  // lines `row` and `row` + 1 exchanged
  };
  Kind kind = Replace;
  int row = 0;
  std::vector<std::string> lines;
};

// The repeat rules before and after a renumbering.
struct RulesChange {
  companions::RepeatRuleSet before, after;
};

// What one undo takes back: the changes in the order they were made, the
// renumbering of the rules that came with them, and the edited row before
// and after.
struct HistoryStep {
  std::vector<LineChange> changes;
  std::unique_ptr<RulesChange> rules;  // none when the rules stayed as they were
  int rowBefore = -1, rowAfter = -1;
};

class History {
 public:
  static constexpr std::size_t kDefaultMaxSteps = 1000;
  explicit History(std::size_t maxSteps = kDefaultMaxSteps) : maxSteps_(maxSteps) {}

  // A step: Begin, the changes, End. Nested pairs make one step; a step
  // without a change is dropped, and so is one whose only change replaces a
  // line with the same line. Recording a step takes away what could be redone.
  void Begin(int editedRow);
  void End(int editedRow);
  bool InStep() const { return depth_ > 0; }
  // Inside a step. Replacements of one row that follow each other make one.
  void Add(LineChange change);
  void AddRules(const companions::RepeatRuleSet& before, const companions::RepeatRuleSet& after);

  // A typed change of `field` of line `row`, outside a step: the changes of
  // one field of one row that follow each other make one step (a run of
  // typing), until EndRun. A run typed back to its start leaves no step.
  void Typed(int row, int field, const std::string& before, const std::string& after);
  void EndRun() { runOpen_ = false; }

  bool CanUndo() const { return position_ > 0 && depth_ == 0; }
  bool CanRedo() const { return position_ < steps_.size() && depth_ == 0; }
  // The step to take back (apply its changes backwards), or to do again;
  // nullptr when there is none. The history moves past it.
  const HistoryStep* TakeUndo();
  const HistoryStep* TakeRedo();

  // The job as it stands is the one loaded or saved.
  void MarkUnchanged();
  bool Unchanged() const { return saved_ == position_; }
  void Clear();

  // Counts every change of the history itself (a step recorded, merged or
  // dropped, undone, redone; a save; a fresh start).
  unsigned long Revision() const { return revision_; }

  std::size_t StepCount() const { return steps_.size(); }
  // The memory the steps hold, in bytes (the containers' and texts' own
  // storage included).
  std::size_t Bytes() const;

 private:
  static constexpr std::size_t kNever = static_cast<std::size_t>(-1);
  void Push(HistoryStep step);

  std::deque<HistoryStep> steps_;
  std::size_t position_ = 0;  // steps_[0, position_) are done
  std::size_t saved_ = 0;     // the position of the loaded or saved job; kNever once lost
  std::size_t maxSteps_;
  unsigned long revision_ = 0;
  int depth_ = 0;
  HistoryStep open_;
  bool runOpen_ = false;  // the last step is a run of typing that may go on
  int runRow_ = -1, runField_ = 0;
};

}  // namespace editor
