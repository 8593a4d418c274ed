#pragma once
// One row of the to-do list: what a restore pass would do (listing) or did (executing). The
// confirmation dialog shows the rows in a list view with the columns of kToDoColumns.

#include <string>
#include <vector>

inline constexpr char kStatusToDo[] = "To Do";
inline constexpr char kStatusDone[] = "OK, Done";
// Followed directly by the error's message.
inline constexpr char kStatusNotDone[] = "Not done. Error:";

struct ToDoColumn {
  const char* caption;
  int width;  // 0: the rest of the list
};
inline constexpr ToDoColumn kToDoColumns[] = {
    {"Operation", 100}, {"Path", 200}, {"Name", 80}, {"Value", 100}, {"Status", 0}};

struct ToDoItem {
  std::string operation;
  std::string path;   // key path, folder path, or INI file with section
  std::string name;   // value, file or entry name; empty for keys and folders
  std::string value;  // display text; empty for keys and folders
  std::string status;
};

// Without a list (batch mode) the row is dropped; the operation is carried out all the same.
inline void AddToDoItem(std::vector<ToDoItem>* list, ToDoItem item) {
  if (list) list->push_back(std::move(item));
}
