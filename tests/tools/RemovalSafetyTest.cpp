#include "tools/RemovalSafety.h"

#include <gtest/gtest.h>

namespace {

struct RefusalCase {
  RemovalKind kind;
  const char* path;
  const char* refusal;  // empty: allowed
};

constexpr const char* kDrive = "Not done: a drive root is never deleted.";
constexpr const char* kProgramFiles = "Not done: the program-files folder itself is never deleted.";
constexpr const char* kOwnFolder = "Not done: Quorvel's own folders are never deleted.";
constexpr const char* kRoot = "Not done: a registry root key is never deleted.";
constexpr const char* kShared = "Not done: this key holds the keys of every application and is never deleted.";
constexpr const char* kOwnKey = "Not done: Quorvel's own settings are never deleted.";

const RefusalCase kCases[] = {
    {RemovalKind::Folder, "C:", kDrive},
    {RemovalKind::Folder, "d:\\", kDrive},
    {RemovalKind::Folder, "C:\\Program Files", kProgramFiles},
    {RemovalKind::Folder, "c:\\PROGRAM FILES\\", kProgramFiles},
    {RemovalKind::Folder, "C:\\Program Files (x86)", kProgramFiles},
    {RemovalKind::Folder, "C:\\Program Files\\Acme", ""},
    {RemovalKind::Folder, "C:\\Tools\\Quorvel", kOwnFolder},
    {RemovalKind::Folder, "C:\\Tools", kOwnFolder},                // holds it
    {RemovalKind::Folder, "C:\\Tools\\Quorvel\\Sub", kOwnFolder},  // inside it
    {RemovalKind::Folder, "C:\\Tools\\Quorvel2", ""},
    {RemovalKind::Folder, "E:\\Backup\\Old", kOwnFolder},
    {RemovalKind::Folder, "E:\\Other", ""},  // the backup folder's drive is no own folder
    {RemovalKind::RegistryKey, "HKEY_CURRENT_USER", kRoot},
    {RemovalKind::RegistryKey, "HKEY_CLASSES_ROOT\\", kRoot},
    {RemovalKind::RegistryKey, "NOT_A_ROOT\\Software", kRoot},
    {RemovalKind::RegistryKey, "HKEY_LOCAL_MACHINE\\SOFTWARE", kShared},
    {RemovalKind::RegistryKey, "hkey_current_user\\software", kShared},
    {RemovalKind::RegistryKey, "HKEY_LOCAL_MACHINE\\Software\\Classes", kShared},
    {RemovalKind::RegistryKey, "HKEY_CURRENT_USER\\Software\\Acme", ""},
    {RemovalKind::RegistryKey, "HKEY_CLASSES_ROOT\\.acme", ""},
    {RemovalKind::RegistryKey, "HKEY_CURRENT_USER\\Software\\VXN", kOwnKey},
    {RemovalKind::RegistryKey, "HKEY_CURRENT_USER\\Software\\VXN\\Quorvel\\1.0", kOwnKey},
    {RemovalKind::RegistryKey, "HKEY_CURRENT_USER\\Software\\VXN\\Quorvel\\1.0\\Forms", kOwnKey},
    {RemovalKind::RegistryKey, "HKEY_CURRENT_USER\\Software\\VXN\\Other", ""},
};

TEST(RemovalSafety, ProtectedPlacesAreRefusedWhateverTheCaseAndTrailingBackslash) {
  const ProtectedPlaces places{{"C:\\Program Files", "C:\\Program Files (x86)\\"},
                               {"C:\\Tools\\Quorvel\\", "E:\\Backup"},
                               {"HKEY_CURRENT_USER\\Software\\VXN\\Quorvel\\1.0"}};
  for (const RefusalCase& test : kCases)
    EXPECT_EQ(RefusalOf({test.kind, test.path}, places), test.refusal) << test.path;
}

TEST(RemovalSafety, AProgramInADriveRootLeavesTheRestOfTheDriveToTheUser) {
  const ProtectedPlaces places{{}, {"C:\\"}, {}};
  EXPECT_EQ(RefusalOf({RemovalKind::Folder, "C:\\Program Files\\Acme"}, places), "");
  EXPECT_EQ(RefusalOf({RemovalKind::Folder, "C:\\"}, places), kDrive);
}

}  // namespace
