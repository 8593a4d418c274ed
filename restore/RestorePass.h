#pragma once
// The frame every restore driver runs in: one pass over a result node and its descendants with
// the records they point to. It owns the reader of the log's change block and runs each
// operation inside its own error trap. In an executing pass it first makes sure the log can take
// the restored marks, then marks each undone record in the log as soon as its operation
// succeeded, so that a pass that ends early (an error, a crash) never leaves a done operation to
// be done again; the result tree block with the nodes' marks is written when the pass ends, on
// every way out.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "compare/ChangeBlockReader.h"
#include "compare/LogLayout.h"
#include "restore/RestoreRequest.h"

class RestorePass {
 public:
  // A record whose kind was just read: where the kind stands in the log, the masked kind, and
  // whether the filter list lets it take part.
  struct Record {
    std::string name;
    int64_t kindPosition = 0;
    int kind = 0;
    bool passes = true;
  };

  // What happened to a record: no operation applied to it (its kind, the flags or a missing
  // backup), or its operation was carried out, or it failed.
  enum class Outcome { None, Undone, Failed };

  // Completes the filter's changed pairs, loads the root's whole subtree (registry and drive
  // trees get new and deleted children from the log) and opens the section's change block. An
  // executing pass also opens the log for writing and checks that it is still the log the
  // result tree was loaded from. Errors here end the pass before anything changed.
  RestorePass(const RestoreRequest& request, RestoreEnvironment& environment, LogSection section);
  // Writes the result tree when Finish did not run (the pass ended by an error).
  ~RestorePass();
  RestorePass(const RestorePass&) = delete;
  RestorePass& operator=(const RestorePass&) = delete;

  const RestoreRequest& Request() const { return request_; }
  RestoreEnvironment& Environment() const { return environment_; }
  bool Executing() const { return request_.executing; }
  bool Filtered() const { return request_.filter != nullptr; }
  bool Flag(int flag) const { return (request_.flags & flag) != 0; }
  int Mask() const { return mask_; }
  // The node kind (low four bits) after the mask: with the restored bit set it matches no kind
  // unless kRestoreAgain is given.
  int NodeKind(const TreeNode& node) const { return node.StateIndex() & mask_; }

  ChangeBlockReader& Block() { return *block_; }
  TReader& Reader() { return block_->Reader(); }

  // Moves to the node's block and returns its record count, after the sublist of a new or
  // deleted key or folder. Nodes without a block return 0.
  int32_t SeekRecords(const TreeNode& node);

  // Reads the kind that follows a record's name.
  Record ReadKind(std::string name);

  // Runs one operation as a to-do item: in listing mode it is only listed ("To Do"); in
  // executing mode perform runs inside an error trap and returns the status, and any error
  // becomes "Not done. Error:" followed by its message. False when it failed.
  bool RunItem(ToDoItem item, const std::function<std::string()>& perform);
  // RunItem for a record's operation, as the outcome RecordDone takes.
  Outcome RunRecordItem(ToDoItem item, const std::function<std::string()>& perform) {
    return RunItem(std::move(item), perform) ? Outcome::Undone : Outcome::Failed;
  }

  // The end of a record step: in executing mode a record that passed the filter and whose
  // operation was carried out gets the restored bit in the log at once. The two records of a
  // change (old side, then new side) are marked together, when the operation of the pair
  // succeeded: a counter pair whose new side failed keeps its old side for the next pass.
  void RecordDone(const Record& record, Outcome outcome);

  // Items that failed so far in this pass.
  size_t Failures() const { return failures_; }
  // What this pass left undone so far: failed items, records whose kind the flags left out, new
  // and deleted nodes whose operation did not run. A node's walk notes it at its start.
  size_t Unfinished() const { return failures_ + leftOut_; }
  // Gives the node the restored bit (its kind stays in the low four bits).
  void MarkRestored(TreeNode& node);
  // After the walk of a node: in executing mode without a filter list it is greyed and marked
  // restored, unless something below it was left undone since unfinishedBefore or it is a new or
  // deleted node whose own operation did not run; such a node is offered again by the next pass.
  void MarkVisited(TreeNode& node, size_t unfinishedBefore);

  // Closes the reader; in an executing pass writes the result tree with its restored marks into
  // the log file in place.
  void Finish();

 private:
  struct PendingOldSide {
    Record record;
    Outcome outcome;
  };

  void CheckLogUnchanged();
  void WriteMark(const Record& record);
  void SettlePendingOldSide();
  void WriteTree();

  const RestoreRequest& request_;
  RestoreEnvironment& environment_;
  LogSection section_;
  int mask_;
  std::unique_ptr<ChangeBlockReader> block_;
  std::unique_ptr<TFileStream> log_;  // executing passes: the log, open for the marks
  std::optional<PendingOldSide> pendingOldSide_;
  size_t failures_ = 0;
  size_t leftOut_ = 0;
  bool finished_ = false;
};
