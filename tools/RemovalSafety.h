#pragma once
// What the application remover never deletes, whatever the user ticked: places every other
// program needs (a drive root, the program-files folder, a registry root key, the keys that
// hold every application's software settings) and the program's own folder and settings.

#include <string>
#include <vector>

#include "tools/RemovalActions.h"

struct ProtectedPlaces {
  // The program-files folders of the machine (both of them on a 64-bit system).
  std::vector<std::string> programFilesFolders;
  // The program's folder and its backup folder: neither they, nor a folder holding them, nor
  // anything inside them is deleted (inside a drive root the rule is the drive root's alone).
  std::vector<std::string> ownFolders;
  // Full key paths beginning with the root key's name, such as the settings key.
  std::vector<std::string> ownKeys;
};

// Empty when the action may run; otherwise the status that says why it never will.
std::string RefusalOf(const RemovalAction& action, const ProtectedPlaces& places);
