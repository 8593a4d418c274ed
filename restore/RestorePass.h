#pragma once
// The frame every restore driver runs in: one pass over a result node and its descendants with
// the records they point to. It owns the reader of the log's change block, runs each operation
// inside its own error trap, collects where the kinds of the undone records stand, and at the
// end of an executing pass marks them restored in the log file in place, together with the
// result tree block.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

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

  // Completes the filter's changed pairs, loads the root's whole subtree (registry and drive
  // trees get new and deleted children from the log) and opens the section's change block.
  // Errors here (the log cannot be opened or read) end the pass before anything changed.
  RestorePass(const RestoreRequest& request, RestoreEnvironment& environment, LogSection section);
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
  int NodeKind(const TreeNode& node) const { return node.stateIndex & mask_; }

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

  // The end of a record step: in executing mode a record that passed the filter and did not
  // fail gets the restored bit, whatever its kind was.
  void RecordDone(const Record& record, bool succeeded);

  // Gives the node the restored bit (its kind stays in the low four bits).
  void MarkRestored(TreeNode& node);
  // After the walk of a node: in executing mode without a filter list it is greyed and marked
  // restored, unless its own operation failed (then it is offered again by the next pass).
  void MarkVisited(TreeNode& node, bool nodeOperationFailed);

  // Closes the reader; in an executing pass writes the restored marks of the records and the
  // result tree into the log file in place. Nothing is written when the bytes in the log are
  // not what this pass read there (the log was replaced meanwhile).
  void Finish();

 private:
  void WriteMarks();

  const RestoreRequest& request_;
  RestoreEnvironment& environment_;
  LogSection section_;
  int mask_;
  std::unique_ptr<ChangeBlockReader> block_;
  std::vector<int64_t> donePositions_;
  std::vector<int> doneKinds_;
};
